#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "platform/audio/Decoder.h"
#include "platform/audio/Report.h"
#include "platform/audio/SoundServer.h"
#include "platform/audio/Voice.h"

namespace platform::audio {

// What plays, decodes and speaks. The parts are made on the audio thread, the only
// one that loads their libraries. A part that cannot be made is null (its maker
// reports why) and what needs it stays silent.
struct AudioParts {
  std::unique_ptr<SoundServer> server;
  std::unique_ptr<Decoder> decoder;
  std::unique_ptr<Voice> voice;
};
using MakeAudioParts = std::function<AudioParts(SoundServer::Events& events, const Report& report)>;

using AudioClock = std::chrono::steady_clock;

struct AudioTiming {
  // A server that has not answered by then counts as gone. Only the answer counts:
  // one that came while the audio thread was busy (decoding a long file) is taken.
  std::chrono::milliseconds connectTimeout{2000};
  // After a failed connection, requests are dropped for this long; the next one
  // after it tries again, so sound comes back by itself with the server.
  std::chrono::milliseconds retryAfter{3000};
  // How long leaving waits for the audio thread before going without it.
  std::chrono::milliseconds exitWait{500};
  // The audio thread's clock for the two above; tests step one by hand. Leaving
  // waits by the real clock.
  std::function<AudioClock::time_point()> now = AudioClock::now;
};

class AudioMailbox;

// Sound and speech on two threads of their own: the audio thread, which decodes,
// renders speech and tells the sound server what to play, and the sound server
// client's loop thread, which feeds the streams and sends the server's answers
// back to the audio thread through the mailbox. No call waits for a decoder, the
// speech engine or the sound server. Should the audio thread fail (anything it
// runs throws), that is said in one line and the service is silent from then on.
class AudioService {
 public:
  AudioService(MakeAudioParts makeParts, Report report, AudioTiming timing = {});
  ~AudioService();

  // Plays the file from its start; a play of the same line still going is cut off.
  void PlaySound(const std::string& path);
  // With interrupt false the text is spoken after those asked for before it. With
  // interrupt true what is being said stops, the waiting texts are dropped and
  // this one is spoken at once.
  void Speak(const std::string& text, bool interrupt);

 private:
  std::shared_ptr<AudioMailbox> mailbox_;  // shared with the thread, which may outlive us
  std::thread thread_;
};

}  // namespace platform::audio
