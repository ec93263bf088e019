#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "platform/EventLoop.h"

namespace platform {
namespace {

class QtTimerPeer final : public TimerPeer {
 public:
  explicit QtTimerPeer(std::function<void()> tick) {
    // A coarse timer may be 5% late on every tick; the shake's rhythm wants 100 ms.
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, std::move(tick));
  }
  void Start(std::int64_t periodMs) override { timer_.start(int(periodMs)); }
  void Stop() override { timer_.stop(); }

 private:
  QTimer timer_;
};

class QtEventLoop final : public EventLoop {
 public:
  void DoEvents(bool waitForMore) override {
    // Waiting keeps a loop around DoEvents from spinning a whole core.
    QCoreApplication::processEvents(waitForMore ? QEventLoop::WaitForMoreEvents
                                                : QEventLoop::AllEvents);
  }
  std::unique_ptr<TimerPeer> NewTimer(std::function<void()> tick) override {
    return std::make_unique<QtTimerPeer>(std::move(tick));
  }
};

std::unique_ptr<EventLoop>& Installed() {
  // Never destroyed: see RuntimeInit.
  static auto& loop = *new std::unique_ptr<EventLoop>;
  return loop;
}

}  // namespace

EventLoop& CurrentEventLoop() {
  auto& loop = Installed();
  if (!loop) loop = std::make_unique<QtEventLoop>();
  return *loop;
}

void SetEventLoop(std::unique_ptr<EventLoop> loop) { Installed() = std::move(loop); }

}  // namespace platform
