#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

namespace platform::qt {

// Samples to play: 16-bit, mono.
struct Clip {
  std::vector<short> samples;
  int rate = 0;
};

// Plays clips through the sound server, one after another, on a thread of its own,
// so that the caller never waits. Each clip plays on a new connection, so a server
// that restarted is simply reached again; a playback that fails is tried again a
// few times. Without the PulseAudio client library or a server nothing is heard
// and nothing else happens.
//
// Qt 6.4's own PulseAudio output is not used: making and dropping its streams in
// quick succession crashes it in the server's callback thread.
class AudioPlayer {
 public:
  // Whether the work in progress should stop: the player is going, or a later
  // request cut it off.
  using StopCheck = std::function<bool()>;
  // Makes the clip, on the player's thread (so that slow work, such as speech
  // synthesis, never holds up the caller).
  using Source = std::function<Clip(const StopCheck& stopped)>;

  explicit AudioPlayer(std::string streamName);
  ~AudioPlayer();

  // With interrupt false the clip plays after everything asked for before it.
  // With interrupt true what plays stops, what waits is dropped, and this clip
  // plays at once.
  void Play(Source source, bool interrupt);

 private:
  void Run(std::stop_token stop);

  std::string streamName_;
  std::string clientName_;
  std::mutex mutex_;
  std::condition_variable_any wake_;
  std::deque<Source> queue_;
  // Every interrupt moves this on; whatever was started before it stops.
  std::atomic<unsigned> generation_ = 0;
  std::atomic<bool> unavailable_ = false;
  std::jthread worker_;  // last, so that it is stopped and joined first
};

}  // namespace platform::qt
