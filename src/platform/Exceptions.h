#pragma once

#include <exception>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

// The runtime's exceptions. Program code never catches them; the event loop and
// the start-up driver report those that escape.
class RuntimeException : public std::exception {
 public:
  explicit RuntimeException(std::string message) : message_(std::move(message)) {}

  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const { return message_; }
  virtual const char* ClassName() const { return "RuntimeException"; }
  virtual std::shared_ptr<RuntimeException> Clone() const {
    return std::make_shared<RuntimeException>(*this);
  }

 private:
  std::string message_;
};

// Raised when a nil object is used.
class NilObjectException : public RuntimeException {
 public:
  using RuntimeException::RuntimeException;
  const char* ClassName() const override { return "NilObjectException"; }
  std::shared_ptr<RuntimeException> Clone() const override {
    return std::make_shared<NilObjectException>(*this);
  }
};

// Raised by a user-interface operation called off the main thread.
class ThreadAccessingUIException : public RuntimeException {
 public:
  using RuntimeException::RuntimeException;
  const char* ClassName() const override { return "ThreadAccessingUIException"; }
  std::shared_ptr<RuntimeException> Clone() const override {
    return std::make_shared<ThreadAccessingUIException>(*this);
  }
};

// Raised by a cast to a class that the object is not an instance of.
class IllegalCastException : public RuntimeException {
 public:
  using RuntimeException::RuntimeException;
  const char* ClassName() const override { return "IllegalCastException"; }
  std::shared_ptr<RuntimeException> Clone() const override {
    return std::make_shared<IllegalCastException>(*this);
  }
};

[[noreturn]] void RaiseNilObjectException(std::string_view what);

// Raises ThreadAccessingUIException unless called on the main thread.
void RequireMainThread(std::string_view operation);

}  // namespace platform
