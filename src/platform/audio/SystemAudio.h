#pragma once

#include <memory>
#include <string>

#include "platform/audio/AudioService.h"

namespace platform::audio {

// Sound and speech through this machine's sound server: PulseAudio for output,
// libsndfile for sound files and espeak-ng for speech, each loaded on the audio
// thread (PulseAudio and libsndfile when it starts, espeak-ng at the first text).
// `client` names the program to the sound server.
std::unique_ptr<AudioService> MakeSystemAudio(const std::string& client, Report report);

}  // namespace platform::audio
