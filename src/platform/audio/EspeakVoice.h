#pragma once

#include <memory>
#include <string>

#include "platform/audio/Report.h"
#include "platform/audio/Voice.h"

namespace platform::audio {

// Speaks with espeak-ng, rendered into memory: the engine opens no sound output of
// its own. The library is loaded at the first text; without it, or without its
// data, the voice says so once and renders nothing.
std::unique_ptr<Voice> MakeEspeakVoice(Report report);

}  // namespace platform::audio
