#pragma once

#include <string>

#include "platform/audio/Clip.h"

namespace platform::audio {

// Turns text into speech samples.
class Voice {
 public:
  virtual ~Voice() = default;
  // An empty clip when nothing can be said (the voice reports why).
  virtual Clip Render(const std::string& text, const Stopped& stopped) = 0;
};

}  // namespace platform::audio
