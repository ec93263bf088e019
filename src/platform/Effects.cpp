#include "platform/Effects.h"

namespace platform {
namespace {

std::unique_ptr<Effects>& Installed() {
  // Never destroyed (see RuntimeInit): RuntimePerformFinalizers drops the effects.
  static auto& effects = *new std::unique_ptr<Effects>;
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
