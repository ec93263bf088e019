#include "ManualEventLoop.h"

#include <QCoreApplication>
#include <limits>

namespace testing_support {

class ManualEventLoop::Peer final : public platform::TimerPeer {
 public:
  Peer(ManualEventLoop& loop, int id, std::shared_ptr<bool> alive)
      : loop_(loop), id_(id), alive_(std::move(alive)) {}
  ~Peer() override {
    if (*alive_) loop_.timers_.erase(id_);
  }
  void Start(std::int64_t periodMs) override {
    auto& timer = loop_.timers_[id_];
    timer.running = true;
    timer.period = periodMs;
    timer.due = loop_.now_ + periodMs;
  }
  void Stop() override { loop_.timers_[id_].running = false; }

 private:
  ManualEventLoop& loop_;
  int id_;
  std::shared_ptr<bool> alive_;
};

ManualEventLoop::ManualEventLoop() : alive_(std::make_shared<bool>(true)) {}

ManualEventLoop::~ManualEventLoop() { *alive_ = false; }

std::unique_ptr<platform::TimerPeer> ManualEventLoop::NewTimer(std::function<void()> tick) {
  const int id = nextId_++;
  timers_[id].tick = std::move(tick);
  return std::make_unique<Peer>(*this, id, alive_);
}

void ManualEventLoop::At(std::int64_t time, std::function<void()> action) {
  const int id = nextId_++;
  timers_[id] = Scheduled{time, 0, true, nullptr};
  timers_[id].tick = [this, id, action = std::move(action)] {
    timers_.erase(id);
    action();
  };
}

int ManualEventLoop::RunningTimers() const {
  int running = 0;
  for (const auto& [id, timer] : timers_) running += timer.running && timer.period > 0;
  return running;
}

void ManualEventLoop::DoEvents(bool waitForMore) {
  QCoreApplication::processEvents();
  if (!waitForMore) return;
  int next = -1;
  std::int64_t due = std::numeric_limits<std::int64_t>::max();
  for (const auto& [id, timer] : timers_) {
    if (timer.running && timer.due < due) {
      due = timer.due;
      next = id;
    }
  }
  if (next < 0) return;  // nothing will ever come
  now_ = due;
  auto& timer = timers_[next];
  if (timer.period > 0) timer.due += timer.period;
  auto tick = timer.tick;  // the tick may destroy the timer
  tick();
}

}  // namespace testing_support
