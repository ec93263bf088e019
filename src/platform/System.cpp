#include "platform/System.h"

#include "platform/Effects.h"

namespace platform {

const ClassInfo& Random::Class() {
  static const ClassInfo& info = RegisterClass({.name = "Random", .base = &Object::Class()});
  return info;
}

Random::Random() {
  std::random_device entropy;
  std::seed_seq seed{entropy(), entropy(), entropy(), entropy()};
  engine_.seed(seed);
}

std::int64_t Random::InRange(std::int64_t minimum, std::int64_t maximum) {
  if (maximum < minimum) std::swap(minimum, maximum);
  return std::uniform_int_distribution<std::int64_t>(minimum, maximum)(engine_);
}

namespace System {

Ref<platform::Random> Random() {
  static const Ref<platform::Random> generator = New<platform::Random>();
  return generator;
}

void Speak(const std::string& text, bool interrupt) { CurrentEffects().Speak(text, interrupt); }

}  // namespace System

void ShowURL(const std::string& url) { CurrentEffects().ShowURL(url); }

void MessageBox(const std::string& text) {
  RequireMainThread("MessageBox");
  CurrentEffects().MessageBox(text);
}

}  // namespace platform
