#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "Fixtures.h"
#include "platform/Application.h"
#include "platform/EventLoop.h"
#include "platform/Timer.h"

using namespace platform;
using testing_support::ProgramTest;

namespace {

class CountingTimer : public Timer {
 public:
  void Event_Action() override { ticks.push_back(now ? now() : 0); }
  std::function<std::int64_t()> now;
  std::vector<std::int64_t> ticks;
};

}  // namespace

class TimerTest : public ProgramTest {
 protected:
  Ref<CountingTimer> NewCountingTimer() {
    auto timer = New<CountingTimer>();
    timer->now = [this] { return loop->Now(); };
    return timer;
  }
  Application app;
};

TEST_F(TimerTest, ARepeatingTimerTicksEveryPeriodUntilSwitchedOff) {
  auto timer = NewCountingTimer();
  timer->SetPeriod(100);
  timer->SetRunMode(Timer::Multiple);
  for (int i = 0; i < 3; ++i) app.DoEvents(-1);
  EXPECT_EQ(timer->ticks, (std::vector<std::int64_t>{100, 200, 300}));
  timer->SetRunMode(Timer::Off);
  EXPECT_EQ(loop->RunningTimers(), 0);
  app.DoEvents(-1);
  EXPECT_EQ(timer->ticks.size(), 3u);
}

TEST_F(TimerTest, ASingleTimerTicksOnceAndSwitchesItselfOff) {
  auto timer = NewCountingTimer();
  timer->SetPeriod(50);
  timer->SetRunMode(Timer::Single);
  app.DoEvents(-1);
  app.DoEvents(-1);
  EXPECT_EQ(timer->ticks.size(), 1u);
  EXPECT_EQ(timer->RunMode(), Timer::Off);
}

TEST_F(TimerTest, ATimerNobodyHoldsTicksNoMore) {
  auto timer = NewCountingTimer();
  timer->SetPeriod(100);
  timer->SetRunMode(Timer::Multiple);
  timer = nullptr;
  EXPECT_EQ(loop->RunningTimers(), 0);
}

// With Qt's own loop: ticks come only while events are handled, and DoEvents(-1)
// waits for them instead of returning at once.
TEST(QtTimer, TicksComeOnlyInsideDoEvents) {
  SetEventLoop(nullptr);
  Application app;
  auto timer = New<CountingTimer>();
  timer->SetPeriod(10);
  timer->SetRunMode(Timer::Multiple);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(timer->ticks.empty());
  int calls = 0;
  while (timer->ticks.size() < 3) {
    app.DoEvents(-1);
    ++calls;
  }
  timer->SetRunMode(Timer::Off);
  // Waiting calls, not a spin of thousands.
  EXPECT_LT(calls, 50);
}
