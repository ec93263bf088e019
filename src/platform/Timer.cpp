#include "platform/Timer.h"

#include "platform/EventLoop.h"
#include "platform/Runtime.h"

namespace platform {

const ClassInfo& Timer::Class() {
  static const ClassInfo& info =
      RegisterClass({.name = "Timer", .base = &Object::Class(), .events = {{"Action", "", ""}}});
  return info;
}

Timer::Timer() : peer_(CurrentEventLoop().NewTimer([this] { Tick(); })) {}

Timer::~Timer() = default;

void Timer::SetPeriod(std::int64_t milliseconds) {
  period_ = milliseconds;
  if (runMode_ != Off) peer_->Start(period_);
}

void Timer::SetRunMode(std::int64_t mode) {
  runMode_ = mode;
  if (mode == Off) {
    peer_->Stop();
  } else {
    peer_->Start(period_);
  }
}

void Timer::Tick() {
  auto protector = shared_from_this();  // the handler may drop the last other reference
  if (runMode_ == Off) return;
  if (runMode_ == Single) SetRunMode(Off);
  RaiseEvent([this] { Event_Action(); });
}

}  // namespace platform
