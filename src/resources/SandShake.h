#pragma once

#include "platform/Ref.h"
#include "platform/Sound.h"

// The shake sound, "sandshake.mp3" in the bundle's Resources folder. It is loaded
// at the first call only, whatever the outcome: after a failed load every call
// answers nil without looking at the disk again.
platform::Ref<platform::Sound> sandshake();

namespace resources {
// The accessor's state, for start-up and the end of the run.
extern bool loaded;
extern platform::Ref<platform::Sound> permaSound;
void ReleaseSandShake();
}  // namespace resources
