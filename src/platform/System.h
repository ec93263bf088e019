#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "platform/Object.h"
#include "platform/Ref.h"

namespace platform {

// A source of random integers.
class Random : public Object {
 public:
  static const ClassInfo& Class();
  const ClassInfo& RuntimeClass() const override { return Class(); }

  // Seeded from the system's entropy source, never from a fixed value.
  Random();

  // A uniformly drawn integer from minimum to maximum, both included.
  std::int64_t InRange(std::int64_t minimum, std::int64_t maximum);

 private:
  std::mt19937_64 engine_;
};

namespace System {

// The one process-wide generator, made on first use.
Ref<platform::Random> Random();

// Speaks the text through the system's speech synthesis. With interrupt false,
// speech in progress is not cut off: the text waits its turn.
void Speak(const std::string& text, bool interrupt = false);

}  // namespace System

// Opens the address in the user's default web browser.
void ShowURL(const std::string& url);

// Shows the text in a message box and waits until it is dismissed.
void MessageBox(const std::string& text);

}  // namespace platform
