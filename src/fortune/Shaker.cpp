#include "fortune/Shaker.h"

#include "shell/App.h"

namespace fortune {

// Never destroyed, since it holds a timer and a window (see platform::RuntimeInit);
// the program lets go of the shake on its way out.
platform::Ref<cShaker>& pShaker = *new platform::Ref<cShaker>;

const platform::ClassInfo& cShaker::Class() {
  static const platform::ClassInfo& info = platform::RegisterClass(
      {.name = "cShaker", .base = &Timer::Class(), .handledEvents = {"Action"}});
  return info;
}

void cShaker::Event_Action() {
  WindowToShake->SetLeft(StartingLeft - Direction * Iterations);
  WindowToShake->Refresh(true);
  Direction = -Direction;
  Iterations = Iterations - 1;
  if (Iterations < 0) {
    SetRunMode(Off);
    Iterations = 10;
    WindowToShake = nullptr;
  }
}

void shake(const platform::Ref<platform::Window>& window) {
  pShaker = platform::New<cShaker>();
  pShaker->WindowToShake = window;
  pShaker->StartingLeft = window->Left();
  pShaker->SetPeriod(100);
  pShaker->SetRunMode(platform::Timer::Multiple);
  // The loop looks at the current shake each time: a shake started inside it ends
  // this wait too.
  while (pShaker->RunMode() != platform::Timer::Off) {
    App()->DoEvents(-1);
  }
}

}  // namespace fortune
