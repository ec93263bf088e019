#include "platform/audio/SystemAudio.h"

#include "platform/audio/EspeakVoice.h"
#include "platform/audio/PulseServer.h"
#include "platform/audio/SndfileDecoder.h"

namespace platform::audio {

std::unique_ptr<AudioService> MakeSystemAudio(const std::string& client, Report report) {
  auto makeParts = [client](SoundServer::Events& events, const Report& report) {
    AudioParts parts;
    std::string error;
    parts.server = OpenPulseServer(client, events, error);
    if (!parts.server) {
      report("no sound or speech: " + error);
      return parts;
    }
    parts.decoder = OpenSndfileDecoder(report, error);
    if (!parts.decoder) report("no sound: " + error);
    parts.voice = MakeEspeakVoice(report);
    return parts;
  };
  return std::make_unique<AudioService>(makeParts, std::move(report));
}

}  // namespace platform::audio
