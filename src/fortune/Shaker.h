#pragma once

#include <cstdint>

#include "platform/Ref.h"
#include "platform/Timer.h"
#include "platform/Window.h"

namespace fortune {

// One shake: a timer whose ticks move the window left and right around where it
// started, ten units first, one less each time, until it is back at the start.
class cShaker : public platform::Timer {
 public:
  static const platform::ClassInfo& Class();
  const platform::ClassInfo& RuntimeClass() const override { return Class(); }

  std::int64_t Direction = 1;
  std::int64_t Iterations = 10;
  platform::Ref<platform::Window> WindowToShake;
  std::int64_t StartingLeft = 0;

  void Event_Action() override;
};

// The current shake; it keeps the last one, stopped, until the next replaces it.
extern platform::Ref<cShaker>& pShaker;

// Shakes the window for about a second, handling the application's events while it
// waits. A shake started meanwhile (a click during the shake) becomes the current
// one, and this call returns when that one has ended.
void shake(const platform::Ref<platform::Window>& window);

}  // namespace fortune
