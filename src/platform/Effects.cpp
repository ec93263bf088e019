#include "platform/Effects.h"

namespace platform {
namespace {

std::unique_ptr<Effects>& Installed() {
  static std::unique_ptr<Effects> effects;
  return effects;
}

}  // namespace

Effects& CurrentEffects() {
  auto& effects = Installed();
  if (!effects) effects = MakeQtEffects();
  return *effects;
}

void SetEffects(std::unique_ptr<Effects> effects) { Installed() = std::move(effects); }

void ResetEffects() { Installed().reset(); }

}  // namespace platform
