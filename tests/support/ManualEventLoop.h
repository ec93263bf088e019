#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/EventLoop.h"

namespace testing_support {

// An event loop whose clock moves only when the program waits for events: then it
// jumps to the next timer that is due and fires it. Shakes take no real time and
// run the same way every time.
class ManualEventLoop final : public platform::EventLoop {
 public:
  ManualEventLoop();
  ~ManualEventLoop() override;

  void DoEvents(bool waitForMore) override;
  std::unique_ptr<platform::TimerPeer> NewTimer(std::function<void()> tick) override;

  std::int64_t Now() const { return now_; }
  // Runs the action once the clock reaches the time, as if an event came then.
  void At(std::int64_t time, std::function<void()> action);
  int RunningTimers() const;

 private:
  struct Scheduled {
    std::int64_t due = 0;
    std::int64_t period = 0;
    bool running = false;
    std::function<void()> tick;
  };
  class Peer;

  std::int64_t now_ = 0;
  int nextId_ = 0;
  std::map<int, Scheduled> timers_;
  std::shared_ptr<bool> alive_;
};

}  // namespace testing_support
