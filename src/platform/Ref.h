#pragma once

#include <cstddef>
#include <memory>
#include <type_traits>
#include <utility>

#include "platform/Exceptions.h"
#include "platform/Object.h"

namespace platform {

// A shared reference to a runtime object. Using a nil one raises a
// NilObjectException instead of crashing, as every object use in the program must.
template <class T>
class Ref {
 public:
  Ref() = default;
  Ref(std::nullptr_t) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  Ref(std::shared_ptr<U> p) : p_(std::move(p)) {}
  template <class U, class = std::enable_if_t<std::is_convertible_v<U*, T*>>>
  Ref(const Ref<U>& other) : p_(other.shared()) {}

  T& operator*() const {
    if (!p_) RaiseNilObjectException(T::Class().Name());
    return *p_;
  }
  T* operator->() const { return &**this; }
  explicit operator bool() const { return p_ != nullptr; }

  T* get() const { return p_.get(); }
  const std::shared_ptr<T>& shared() const { return p_; }
  std::weak_ptr<T> weak() const { return p_; }

  template <class U>
  friend bool operator==(const Ref& a, const Ref<U>& b) {
    return a.get() == b.get();
  }
  friend bool operator==(const Ref& a, std::nullptr_t) { return !a.p_; }

 private:
  std::shared_ptr<T> p_;
};

template <class T, class... Args>
Ref<T> New(Args&&... args) {
  return Ref<T>(std::make_shared<T>(std::forward<Args>(args)...));
}

// The object as T: nil stays nil; an object of another class raises
// IllegalCastException.
template <class T, class U>
Ref<T> RuntimeCheckCast(const Ref<U>& object) {
  if (!object) return nullptr;
  auto cast = std::dynamic_pointer_cast<T>(object.shared());
  if (!cast) {
    throw IllegalCastException(object->RuntimeClass().Name() + " is not a " + T::Class().Name());
  }
  return cast;
}

// A Ref to an object that is known to be shared already (a handler's receiver).
template <class T>
Ref<T> RefTo(T& object) {
  return std::static_pointer_cast<T>(object.shared_from_this());
}

}  // namespace platform
