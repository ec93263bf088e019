#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <variant>

#include "platform/audio/AudioService.h"

namespace platform::audio {

struct PlaySoundRequest {
  std::string path;
};
struct SpeakRequest {
  std::string text;
  bool interrupt;
};
struct ServerConnected {};
struct ServerLost {
  std::string why;
};
struct ClipPlayed {
  SoundServer::Line line;
  std::uint64_t id;
  std::string failure;
};
using AudioMessage =
    std::variant<PlaySoundRequest, SpeakRequest, ServerConnected, ServerLost, ClipPlayed>;

// What the callers, the sound server and the audio thread share: the requests and
// events waiting for the audio thread, and whether it is to stop. It lives as long
// as the longer of the service and its thread.
class AudioMailbox final : public SoundServer::Events {
 public:
  AudioMailbox(MakeAudioParts makeParts, Report report, AudioTiming timing)
      : makeParts(std::move(makeParts)), timing(timing), report(std::move(report)) {}

  void Post(AudioMessage message) {
    {
      std::lock_guard lock(mutex);
      inbox.push_back(std::move(message));
    }
    wake.notify_one();
  }

  void Connected() override { Post(ServerConnected{}); }
  void Lost(const std::string& why) override { Post(ServerLost{why}); }
  void Played(SoundServer::Line line, std::uint64_t id, const std::string& failure) override {
    Post(ClipPlayed{line, id, failure});
  }

  const MakeAudioParts makeParts;
  const AudioTiming timing;
  const Report report;

  std::mutex mutex;
  std::condition_variable wake;
  std::deque<AudioMessage> inbox;
  std::atomic<bool> stopping = false;  // set under the mutex
  bool finished = false;               // under the mutex
  std::condition_variable done;
};

}  // namespace platform::audio
