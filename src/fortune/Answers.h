#pragma once

#include <array>
#include <string_view>

namespace fortune {

// What the ball can answer.
extern const std::array<std::string_view, 42> kAnswers;

// What the answer line reads while the ball shakes.
inline constexpr std::string_view kShaking = "Shake...Shake...Shake";

}  // namespace fortune
