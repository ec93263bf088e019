#pragma once

#include <memory>
#include <string>

#include "platform/audio/Decoder.h"
#include "platform/audio/Report.h"

namespace platform::audio {

// Decodes WAV, FLAC, Ogg and MP3 files with libsndfile. An MP3 that carries its
// encoder's delay and padding (the LAME/Info header) is decoded without them, so
// the sound starts with its first sample. Null, with the reason in `error`, when
// the library cannot be loaded.
std::unique_ptr<Decoder> OpenSndfileDecoder(Report report, std::string& error);

}  // namespace platform::audio
