#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/audio/Clip.h"

namespace platform::audio {

// The sound server as the audio thread sees it. No call waits for the server:
// its answers come back through Events, from a thread of the server's own.
class SoundServer {
 public:
  // One stream each: a clip played on a line cuts off the one playing there.
  enum class Line { Sound, Speech };

  class Events {
   public:
    virtual ~Events() = default;
    virtual void Connected() = 0;
    // The connection failed or was lost; `why` is one line for the user.
    virtual void Lost(const std::string& why) = 0;
    // The clip has been heard to its end, or, with `failure` saying why for the
    // user, the server would not play it.
    virtual void Played(Line line, std::uint64_t clip, const std::string& failure) = 0;
  };

  virtual ~SoundServer() = default;
  virtual void Connect() = 0;
  // Drops the connection and everything playing on it.
  virtual void Disconnect() = 0;
  virtual void Play(Line line, std::shared_ptr<const Clip> clip, std::uint64_t id) = 0;
  virtual void Stop(Line line) = 0;
};

}  // namespace platform::audio
