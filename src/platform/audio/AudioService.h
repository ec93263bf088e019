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

struct AudioTiming {
  // A server that has not answered by then counts as gone.
  std::chrono::milliseconds connectTimeout{2000};
  // After a failed connection, requests are dropped for this long; the next one
  // after it tries again, so sound comes back by itself with the server.
  std::chrono::milliseconds retryAfter{3000};
  // How long leaving waits for the audio thread before going without it.
  std::chrono::milliseconds exitWait{500};
};

class AudioMailbox;

// Sound and speech on a thread of their own: no call waits for a decoder, the
// speech engine or the sound server.
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
