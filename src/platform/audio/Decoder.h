#pragma once

#include <memory>
#include <string>

#include "platform/audio/Clip.h"

namespace platform::audio {

// Turns a sound file into samples.
class Decoder {
 public:
  virtual ~Decoder() = default;
  // The whole file, or null when it cannot be decoded (the decoder reports why).
  virtual std::shared_ptr<const Clip> Decode(const std::string& path, const Stopped& stopped) = 0;
};

}  // namespace platform::audio
