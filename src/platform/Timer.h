#pragma once

#include <cstdint>
#include <memory>

#include "platform/Object.h"

namespace platform {

class TimerPeer;

// Calls its Action event every Period milliseconds while it runs. Ticks come only
// from inside the event loop or DoEvents. A timer ticks for as long as something
// holds it; the runtime keeps no timer alive by itself.
class Timer : public Object {
 public:
  static const ClassInfo& Class();
  const ClassInfo& RuntimeClass() const override { return Class(); }

  enum RunModes : std::int64_t { Off = 0, Single = 1, Multiple = 2 };

  Timer();
  ~Timer() override;

  std::int64_t Period() const { return period_; }
  void SetPeriod(std::int64_t milliseconds);
  std::int64_t RunMode() const { return runMode_; }
  // Off stops the ticks: none comes after it. Single ticks once, Multiple repeats.
  void SetRunMode(std::int64_t mode);

  virtual void Event_Action() {}

 private:
  void Tick();

  std::unique_ptr<TimerPeer> peer_;
  std::int64_t period_ = 1000;
  std::int64_t runMode_ = Off;
};

}  // namespace platform
