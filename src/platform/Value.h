#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace platform {

// A colour as 0x00RRGGBB.
struct Color {
  std::uint32_t rgb = 0;
  friend bool operator==(Color, Color) = default;
};

// Units of a control's font size; only the default (points) is used.
enum class FontUnits : std::uint8_t { Default = 0, Pixel, Point, Inch, Millimeter };

// The declared type of a design property, which fixes how its value is stored.
enum class ValueType { Integer, Boolean, String, Single, Color, FontUnit };

using Value = std::variant<std::int64_t, bool, std::string, float, Color, FontUnits>;

}  // namespace platform
