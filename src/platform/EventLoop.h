#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

// A timer as the event loop runs it: it calls its tick function from inside the
// event loop or DoEvents, never from anywhere else.
class TimerPeer {
 public:
  virtual ~TimerPeer() = default;
  virtual void Start(std::int64_t periodMs) = 0;
  virtual void Stop() = 0;
};

// The seam between the runtime and the clock that drives it: Qt's event loop in
// the program, a clock that tests step by hand.
class EventLoop {
 public:
  virtual ~EventLoop() = default;
  // Handles pending events; when asked to wait, first waits until at least one has
  // come.
  virtual void DoEvents(bool waitForMore) = 0;
  virtual std::unique_ptr<TimerPeer> NewTimer(std::function<void()> tick) = 0;
};

EventLoop& CurrentEventLoop();
// Replaces the event loop's clock (tests); nullptr restores Qt's.
void SetEventLoop(std::unique_ptr<EventLoop> loop);

}  // namespace platform
