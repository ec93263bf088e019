#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
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
struct ServerConnected {
  std::uint64_t connection;
};
struct ServerLost {
  std::uint64_t connection;
  std::string why;
};
struct ClipPlayed {
  SoundServer::Line line;
  std::uint64_t id;
  std::string failure;
};
using AudioMessage =
    std::variant<PlaySoundRequest, SpeakRequest, ServerConnected, ServerLost, ClipPlayed>;

// Where the callers (the GUI thread) and the sound server's loop thread leave
// their messages for the audio thread, and where leaving is asked for and
// awaited. It lives as long as the longer of the service and its thread.
class AudioMailbox final : public SoundServer::Events {
 public:
  AudioMailbox(MakeAudioParts makeParts, Report report, AudioTiming timing);

  // From any thread. Once the audio thread has finished, messages are dropped.
  void Post(AudioMessage message);

  // The audio thread: everything waiting, as soon as there is something, leaving
  // is asked for, or the audio clock reaches the deadline. Rethrows what broke on
  // the server's thread.
  std::deque<AudioMessage> Take(std::optional<AudioClock::time_point> deadline);
  // Whether the server has answered the connection, the answer still waiting.
  bool AnswerWaiting(std::uint64_t connection) const;
  // The audio thread, when it has stopped for good.
  void Finish();

  void RequestStop();
  bool StopRequested() const { return stopping_; }
  // True when the audio thread finished within the wait.
  bool WaitForFinish(std::chrono::milliseconds wait);

  void Connected(std::uint64_t connection) override { Post(ServerConnected{connection}); }
  void Lost(std::uint64_t connection, const std::string& why) override {
    Post(ServerLost{connection, why});
  }
  void Played(SoundServer::Line line, std::uint64_t id, const std::string& failure) override {
    Post(ClipPlayed{line, id, failure});
  }
  void Broke(std::exception_ptr failure) noexcept override;

  const MakeAudioParts makeParts;
  const Report report;
  const AudioTiming timing;

 private:
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable finished_;
  std::deque<AudioMessage> inbox_;
  std::exception_ptr broken_;
  bool done_ = false;
  // Also read without the lock, between the messages of a batch and inside long
  // decodes and renderings.
  std::atomic<bool> stopping_ = false;
};

}  // namespace platform::audio
