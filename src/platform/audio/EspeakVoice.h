#pragma once

#include <memory>
#include <string>

#include "platform/audio/Report.h"
#include "platform/audio/Voice.h"

namespace platform::audio {

// Speaks with espeak-ng, rendered into memory: the engine opens no sound output of
// its own. Null, with the reason in `error`, when the library cannot be loaded.
std::unique_ptr<Voice> OpenEspeakVoice(Report report, std::string& error);

}  // namespace platform::audio
