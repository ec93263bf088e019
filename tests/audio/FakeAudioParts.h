#pragma once

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/audio/AudioService.h"

namespace testing_support {

using platform::audio::Clip;
using Line = platform::audio::SoundServer::Line;

// What the fake parts are told to do and what they saw. It is shared with them, so
// that it outlives an audio thread left behind.
struct Stage {
  enum class Answer { Connect, Refuse, Silence };

  // Told.
  Answer answer = Answer::Connect;
  bool wedgeConnect = false;  // Connect() does not return until released
  bool released = false;
  bool voiceMissing = false;
  bool noDevice = false;  // the server takes clips and plays none
  // How long a decode takes by the stage's clock, and whether it throws instead.
  std::chrono::milliseconds decodeTime{0};
  bool decodeThrows = false;

  // Seen, in order: "connect", "disconnect", "play sound", "play speech <text>",
  // "stop speech".
  std::vector<std::string> calls;
  std::vector<std::string> rendered;
  std::vector<std::string> reports;
  int decodes = 0;
  std::vector<std::shared_ptr<const Clip>> soundsPlayed;
  bool partsGone = false;

  platform::audio::SoundServer::Events* events = nullptr;
  std::uint64_t connection = 0;  // the last one asked for
  std::uint64_t speaking = 0;

  // The audio thread's clock: it moves only when told, and counts its readings,
  // which tells when a request that leaves no other trace has been looked at.
  platform::audio::AudioClock::time_point clock{};
  int clockReadings = 0;

  std::mutex mutex;
  std::condition_variable changed;

  template <typename Predicate>
  bool WaitFor(Predicate done, std::chrono::milliseconds limit = std::chrono::seconds(5)) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, limit, [&] { return done(*this); });
  }

  void Note(std::string call) {
    std::lock_guard lock(mutex);
    calls.push_back(std::move(call));
    changed.notify_all();
  }

  size_t Count(const std::string& call) {
    std::lock_guard lock(mutex);
    return size_t(std::count(calls.begin(), calls.end(), call));
  }

  // The server says the speech playing has been heard to its end.
  void FinishSpeech() {
    std::uint64_t id = 0;
    {
      std::lock_guard lock(mutex);
      id = speaking;
    }
    events->Played(Line::Speech, id, "");
  }

  platform::audio::AudioClock::time_point Now() {
    std::lock_guard lock(mutex);
    ++clockReadings;
    changed.notify_all();
    return clock;
  }

  void Advance(std::chrono::milliseconds time) {
    std::lock_guard lock(mutex);
    clock += time;
  }

  int ClockReadings() {
    std::lock_guard lock(mutex);
    return clockReadings;
  }

  // The server says the connection it has is gone.
  void LoseConnection(const std::string& why) {
    std::uint64_t current = 0;
    {
      std::lock_guard lock(mutex);
      current = connection;
    }
    events->Lost(current, why);
  }

  void Release() {
    std::lock_guard lock(mutex);
    released = true;
    changed.notify_all();
  }
};

// Parts that record into the stage: a server, a decoder whose clips are long, and
// a voice whose clip carries its text (so the server can tell what it speaks).
platform::audio::MakeAudioParts FakeParts(std::shared_ptr<Stage> stage);

// The service's reports go to the stage.
platform::audio::Report ReportTo(std::shared_ptr<Stage> stage);

// Timing whose clock is the stage's.
platform::audio::AudioTiming StageTiming(std::shared_ptr<Stage> stage,
                                         platform::audio::AudioTiming timing = {});

}  // namespace testing_support
