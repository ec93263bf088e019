#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <variant>

#include "platform/ClassInfo.h"
#include "platform/Object.h"

namespace platform {

namespace detail {

template <class V>
constexpr ValueType TypeOf() {
  using Bare = std::remove_cvref_t<V>;
  if constexpr (std::is_same_v<Bare, std::int64_t>) return ValueType::Integer;
  if constexpr (std::is_same_v<Bare, bool>) return ValueType::Boolean;
  if constexpr (std::is_same_v<Bare, std::string>) return ValueType::String;
  if constexpr (std::is_same_v<Bare, float>) return ValueType::Single;
  if constexpr (std::is_same_v<Bare, Color>) return ValueType::Color;
  if constexpr (std::is_same_v<Bare, FontUnits>) return ValueType::FontUnit;
}

}  // namespace detail

// A design property set through the class's own setter, so that a design value
// has the same effect as the same assignment in code.
template <class C, class V>
PropertyInfo Property(std::string name, void (C::*setter)(V)) {
  using Bare = std::remove_cvref_t<V>;
  return {std::move(name), detail::TypeOf<V>(), [setter](Object& object, const Value& value) {
            (static_cast<C&>(object).*setter)(std::get<Bare>(value));
          }};
}

// A design property that the runtime keeps on the object without acting on it.
inline PropertyInfo StoredProperty(std::string name, ValueType type) {
  return {std::move(name), type, nullptr};
}

}  // namespace platform
