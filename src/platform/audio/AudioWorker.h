#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/audio/AudioMailbox.h"

namespace platform::audio {

// The audio thread's work: it makes the parts, connects to the server when first
// needed, decodes each sound file once, and speaks the texts one after another.
class AudioWorker {
 public:
  explicit AudioWorker(AudioMailbox& mailbox);
  ~AudioWorker();

  // Until the mailbox says stop.
  void Run();

 private:
  enum class Link { Down, Connecting, Up };

  void Handle(PlaySoundRequest& request);
  void Handle(SpeakRequest& request);
  void Handle(ServerConnected& event);
  void Handle(ServerLost& event);
  void Handle(ClipPlayed& event);

  // Starts connecting when there is no connection; false while a failure is recent.
  bool Reachable();
  // Gives up a connecting link whose server has not answered in time.
  void GiveUpIfSilent();
  void Fail(const std::string& why);
  std::shared_ptr<const Clip> ClipFor(const std::string& path);
  void SpeakNext();
  void Report(const std::string& line) {
    if (mailbox_.report) mailbox_.report(line);
  }
  AudioClock::time_point Now() const { return mailbox_.timing.now(); }

  AudioMailbox& mailbox_;
  const Stopped stopped_;
  AudioParts parts_;
  Link link_ = Link::Down;
  // The current connection, as the server's answers name it.
  std::uint64_t connection_ = 0;
  AudioClock::time_point connectDeadline_;
  std::optional<AudioClock::time_point> lastFailure_;
  // Said once per outage: until the server is reached again, failures are quiet.
  bool outageSaid_ = false;
  // A server that takes clips and plays none (it has no device) is said once per
  // connection.
  bool refusalSaid_ = false;
  // Each file is decoded once; null when it could not be.
  std::map<std::string, std::shared_ptr<const Clip>> clips_;
  std::shared_ptr<const Clip> soundOnConnect_;
  std::deque<std::string> texts_;
  std::optional<std::uint64_t> speaking_;
  std::uint64_t nextId_ = 1;
};

}  // namespace platform::audio
