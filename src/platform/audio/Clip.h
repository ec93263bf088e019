#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace platform::audio {

// Sound ready to play: 16-bit samples, channels interleaved.
struct Clip {
  std::vector<std::int16_t> samples;
  int rate = 0;
  int channels = 1;

  std::size_t FrameBytes() const { return std::size_t(channels) * sizeof(std::int16_t); }
  bool Playable() const { return rate > 0 && channels > 0 && !samples.empty(); }
};

// Asked while a clip is being made: whether to give up (the program is leaving).
using Stopped = std::function<bool()>;

}  // namespace platform::audio
