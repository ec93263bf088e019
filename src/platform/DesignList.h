#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/Value.h"

namespace platform {

class Object;

// A design property list: entries of a name, one blank and a value encoded by the
// property's declared type (little-endian; Integer 8 bytes, Boolean 1, String a
// 32-bit byte count and the bytes, Single 4, Color 4, FontUnit 1), back to back
// with no tags and no terminator.
using DesignList = std::string_view;

// Writes a list at compile time. Used twice by Encode: once to count, once to write.
class DesignListWriter {
 public:
  constexpr explicit DesignListWriter(char* out = nullptr) : out_(out) {}

  constexpr DesignListWriter& Integer(std::string_view name, std::int64_t value) {
    Name(name);
    Number(std::uint64_t(value), 8);
    return *this;
  }
  constexpr DesignListWriter& Boolean(std::string_view name, bool value) {
    Name(name);
    Byte(value ? 1 : 0);
    return *this;
  }
  constexpr DesignListWriter& String(std::string_view name, std::string_view value) {
    Name(name);
    Number(value.size(), 4);
    for (char c : value) Byte(std::uint8_t(c));
    return *this;
  }
  constexpr DesignListWriter& Single(std::string_view name, float value) {
    Name(name);
    Number(std::bit_cast<std::uint32_t>(value), 4);
    return *this;
  }
  constexpr DesignListWriter& Colour(std::string_view name, Color value) {
    Name(name);
    Number(value.rgb, 4);
    return *this;
  }
  constexpr DesignListWriter& FontUnit(std::string_view name, FontUnits value) {
    Name(name);
    Byte(std::uint8_t(value));
    return *this;
  }

  constexpr std::size_t Size() const { return size_; }

 private:
  constexpr void Name(std::string_view name) {
    for (char c : name) Byte(std::uint8_t(c));
    Byte(' ');
  }
  constexpr void Number(std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) Byte(std::uint8_t(value >> (8 * i)));
  }
  constexpr void Byte(std::uint8_t b) {
    if (out_) out_[size_] = char(b);
    ++size_;
  }

  char* out_;
  std::size_t size_ = 0;
};

// The bytes of the list that Write describes, as a constant:
//   constexpr auto kList = EncodeDesignList<[](DesignListWriter& w) { w.Integer(...); }>();
template <auto Write>
constexpr auto EncodeDesignList() {
  constexpr std::size_t size = [] {
    DesignListWriter counter;
    Write(counter);
    return counter.Size();
  }();
  std::array<char, size> bytes{};
  DesignListWriter writer(bytes.data());
  Write(writer);
  return bytes;
}

template <std::size_t N>
constexpr DesignList AsDesignList(const std::array<char, N>& bytes) {
  return DesignList(bytes.data(), N);
}

// Applies the list to the object through its class's design properties: names
// match without regard to case, through the base classes. An unknown name or a list
// that ends inside an entry raises a RuntimeException naming the entry; nothing is
// read past the list's end.
void SetProperties_(Object& object, DesignList list);

}  // namespace platform
