#pragma once

#include <cstdint>
#include <exception>
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
    // The answers name the connection they belong to, as given to Connect, so that
    // one for a connection already given up is told apart.
    virtual void Connected(std::uint64_t connection) = 0;
    // The connection failed or was lost; `why` is one line for the user.
    virtual void Lost(std::uint64_t connection, const std::string& why) = 0;
    // The clip has been heard to its end, or, with `failure` saying why for the
    // user, the server would not play it.
    virtual void Played(Line line, std::uint64_t clip, const std::string& failure) = 0;
    // Something the server's own thread ran threw; it cannot go up through the
    // client library's C frames, so it is handed over to the audio thread.
    virtual void Broke(std::exception_ptr failure) noexcept = 0;
  };

  virtual ~SoundServer() = default;
  // Drops any connection there is and starts a new one, named `connection` in the
  // answers.
  virtual void Connect(std::uint64_t connection) = 0;
  // Drops the connection and everything playing on it.
  virtual void Disconnect() = 0;
  virtual void Play(Line line, std::shared_ptr<const Clip> clip, std::uint64_t id) = 0;
  virtual void Stop(Line line) = 0;
};

}  // namespace platform::audio
