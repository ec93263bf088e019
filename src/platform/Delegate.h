#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <type_traits>

#include "platform/Ref.h"

namespace platform {

namespace detail {

template <class T>
std::string TypeName() {
  using Bare = std::remove_cvref_t<T>;
  if constexpr (std::is_same_v<Bare, std::int64_t>) {
    return "Integer";
  } else if constexpr (std::is_same_v<Bare, bool>) {
    return "Boolean";
  } else if constexpr (std::is_same_v<Bare, std::string>) {
    return "String";
  } else {
    return Bare::Class().Name();
  }
}

}  // namespace detail

// The signature text of a handler, as "( Label, Integer, Integer ) as Boolean".
template <class R, class... Args>
std::string SignatureText() {
  std::string text = "( ";
  [[maybe_unused]] bool first = true;
  ((text += (first ? "" : ", ") + detail::TypeName<Args>(), first = false), ...);
  text += " )";
  if constexpr (!std::is_void_v<R>) text += " as " + detail::TypeName<R>();
  return text;
}

class DelegateBase {
 public:
  explicit DelegateBase(std::string signature) : signature_(std::move(signature)) {}
  virtual ~DelegateBase() = default;
  const std::string& Signature() const { return signature_; }

 private:
  std::string signature_;
};

template <class Sig>
class Delegate;

// A method bound to its target object. The delegate holds the target weakly (a
// window owns its controls, which hold the delegates), and calling it once the
// target is gone raises a NilObjectException.
template <class R, class... Args>
class Delegate<R(Args...)> : public DelegateBase {
 public:
  // The method's entry: calls it on whatever object it is given.
  using Entry = std::function<R(Object&, Args...)>;

  Delegate(std::string signature, std::weak_ptr<Object> target, Entry entry)
      : DelegateBase(std::move(signature)), target_(std::move(target)), entry_(std::move(entry)) {}

  R operator()(Args... args) const {
    auto target = target_.lock();
    if (!target) RaiseNilObjectException("delegate target");
    return entry_(*target, std::forward<Args>(args)...);
  }
  const Entry& FunctionEntry() const { return entry_; }

 private:
  std::weak_ptr<Object> target_;
  Entry entry_;
};

// Makes a delegate of a method and its target. The signature text must be the
// method's own, so a handler can only be attached where its types fit.
template <class T, class R, class... Args>
std::shared_ptr<Delegate<R(Args...)>> RuntimeCreateDelegate(R (T::*method)(Args...),
                                                            const Ref<T>& target,
                                                            const std::string& signature) {
  if (signature != SignatureText<R, Args...>()) {
    throw RuntimeException("delegate signature \"" + signature + "\" does not match \"" +
                           SignatureText<R, Args...>() + "\"");
  }
  auto entry = [method](Object& receiver, Args... args) -> R {
    auto* self = dynamic_cast<T*>(&receiver);
    if (!self) {
      throw IllegalCastException(receiver.RuntimeClass().Name() + " is not a " + T::Class().Name());
    }
    return (self->*method)(std::forward<Args>(args)...);
  };
  return std::make_shared<Delegate<R(Args...)>>(signature, target.shared(), entry);
}

}  // namespace platform
