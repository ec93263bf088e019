#include <gtest/gtest.h>

#include <QAccessible>
#include <algorithm>
#include <set>

#include "Fixtures.h"
#include "fortune/Answers.h"
#include "fortune/Shaker.h"
#include "fortune/WinMain.h"
#include "platform/System.h"
#include "platform/qt/ControlPeer.h"
#include "platform/qt/WindowWidget.h"
#include "resources/SandShake.h"

using namespace platform;
using testing_support::Click;
using testing_support::ProgramTest;
using testing_support::TempBundle;
using testing_support::Utterance;

namespace {

// Records the window's Left at every tick of the current shake.
struct Track {
  std::int64_t time;
  std::int64_t left;
  std::int64_t top;
  std::string caption;
};

bool IsAnswer(const std::string& text) {
  return std::find(fortune::kAnswers.begin(), fortune::kAnswers.end(), text) !=
         fortune::kAnswers.end();
}

}  // namespace

class ShakeTest : public testing_support::StartedProgramTest {
 protected:
  void SetUp() override {
    StartedProgramTest::SetUp();
    window->SetLeft(100);
    window->SetTop(50);
  }

  // Follows the window at every moment of the clock up to the given time.
  void Watch(std::int64_t until) {
    for (std::int64_t t = 50; t <= until; t += 100) {
      loop->At(t, [this, t] {
        track.push_back({t, window->Left(), window->Top(), window->lResponse()->Text()});
      });
    }
  }

  std::vector<Track> track;
};

TEST_F(ShakeTest, AShakeMovesOnlyLeftThroughElevenTicksBackToTheStart) {
  const QSize size = window->WindowPeer().widget->size();
  Watch(1150);
  window->ShakeOrbivane()->Push();

  std::vector<std::int64_t> lefts;
  for (const auto& t : track) {
    if (t.time < 1100) lefts.push_back(t.left);
    EXPECT_EQ(t.top, 50);
  }
  EXPECT_EQ(lefts, (std::vector<std::int64_t>{100, 90, 109, 92, 107, 94, 105, 96, 103, 98, 101}));
  EXPECT_EQ(window->Left(), 100);
  EXPECT_EQ(window->Top(), 50);
  EXPECT_EQ(window->WindowPeer().widget->size(), size);
  // The call returned at the eleventh tick, not before.
  EXPECT_EQ(loop->Now(), 1100);
}

TEST_F(ShakeTest, AfterAShakeTheShakerIsStoppedWithItsFinalValues) {
  window->ShakeIt();
  ASSERT_TRUE(fortune::pShaker);
  EXPECT_EQ(fortune::pShaker->RunMode(), Timer::Off);
  EXPECT_EQ(fortune::pShaker->Direction, -1);
  EXPECT_EQ(fortune::pShaker->Iterations, 10);
  EXPECT_FALSE(fortune::pShaker->WindowToShake);
  EXPECT_EQ(fortune::pShaker->StartingLeft, 100);
  EXPECT_EQ(loop->RunningTimers(), 0);
}

TEST_F(ShakeTest, TheLabelShowsShakingThenAnAnswerThatIsAlsoSpoken) {
  Watch(1050);
  window->ShakeIt();
  for (const auto& t : track) EXPECT_EQ(t.caption, "Shake...Shake...Shake") << t.time;
  const std::string answer = window->lResponse()->Text();
  EXPECT_TRUE(IsAnswer(answer)) << answer;
  EXPECT_EQ(effects->speech, (std::vector<Utterance>{{answer, false}}));
  EXPECT_EQ(effects->sounds.size(), 1u);
}

// The offscreen platform reports negative positions 2 off once it has handled the
// move, so the positions in between are checked under X by the end-to-end test.
TEST_F(ShakeTest, AShakeAtANegativeLeftComesBackToIt) {
  window->SetLeft(-30);
  window->ShakeIt();
  EXPECT_EQ(fortune::pShaker->StartingLeft, -30);
  EXPECT_EQ(window->Left(), -30);
  EXPECT_EQ(loop->Now(), 1100);
}

TEST_F(ShakeTest, ADragDuringAShakeIsUndoneByTheNextTickButAVerticalOneStays) {
  loop->At(250, [this] {
    window->SetLeft(400);
    window->SetTop(80);
  });
  Watch(350);
  window->ShakeIt();
  // Tick 3 (at 300) sets L - 8 whatever the window's place.
  EXPECT_EQ(track[3].time, 350);
  EXPECT_EQ(track[3].left, 92);
  EXPECT_EQ(track[3].top, 80);
  EXPECT_EQ(window->Left(), 100);
}

// A click during a shake starts a second shake from where the window stands; the
// first shake's wait ends with it, and two answers follow, the second queued
// behind the first's speech.
TEST_F(ShakeTest, AShakeStartedDuringAShakeEndsBothWaitsTogether) {
  loop->At(250, [this] { window->ShakeOrbivane()->Push(); });  // the window is at L+9
  window->ShakeIt();
  EXPECT_EQ(loop->Now(), 250 + 1100);
  EXPECT_EQ(window->Left(), 109);
  ASSERT_EQ(effects->speech.size(), 2u);
  EXPECT_FALSE(effects->speech[0].interrupt);
  EXPECT_FALSE(effects->speech[1].interrupt);
  EXPECT_EQ(effects->speech[1].text, window->lResponse()->Text());
  EXPECT_EQ(effects->sounds.size(), 2u);
  EXPECT_EQ(fortune::pShaker->StartingLeft, 109);
}

TEST_F(ShakeTest, TheBallAndTheButtonRunTheSameSequence) {
  Click(window->Canvas1(), 80, 70);
  EXPECT_EQ(loop->Now(), 1100);
  Click(window->Canvas1(), 1, 1);
  window->ShakeOrbivane()->Push();
  EXPECT_EQ(loop->Now(), 3300);
  EXPECT_EQ(effects->sounds.size(), 3u);
  EXPECT_EQ(effects->speech.size(), 3u);
  EXPECT_EQ(window->Left(), 100);
  EXPECT_TRUE(reports.empty());
}

// A screen reader sees the ball as a graphic that can be pressed, and pressing it
// asks the ball as a click does.
TEST_F(ShakeTest, AScreenReaderCanPressTheBall) {
  QAccessibleInterface* ball =
      QAccessible::queryAccessibleInterface(window->Canvas1()->ControlPeer().widget);
  ASSERT_NE(ball, nullptr);
  EXPECT_EQ(ball->text(QAccessible::Name), "Fortune ball");
  ASSERT_NE(ball->actionInterface(), nullptr);
  ball->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(loop->Now(), 1100);
  EXPECT_EQ(effects->speech.size(), 1u);
}

TEST_F(ShakeTest, WithTheSoundMissingAClickChangesNothingEveryTime) {
  TempBundle bundle;
  UseBundle(bundle);
  for (int click = 0; click < 2; ++click) {
    window->ShakeOrbivane()->Push();
    Click(window->Canvas1(), 10, 10);
  }
  ASSERT_EQ(reports.size(), 4u);
  for (const auto& r : reports) EXPECT_EQ(r.className, "NilObjectException");
  EXPECT_EQ(window->lResponse()->Text(), " ");
  EXPECT_EQ(loop->Now(), 0);
  EXPECT_EQ(window->Left(), 100);
  EXPECT_TRUE(effects->speech.empty());
}

// An auto-clicker on the ball: every click during a shake nests a whole shake on
// the stack, so past a fixed depth a click does nothing until the shakes are over.
TEST_F(ShakeTest, ClicksPastTheNestingBoundChangeNothingAndTheShakesStillEnd) {
  struct Seen {
    size_t sounds, speech;
    const fortune::cShaker* shaker;
    std::string caption;
    std::int64_t left;
    bool operator==(const Seen&) const = default;
  };
  const auto seen = [this] {
    return Seen{effects->sounds.size(), effects->speech.size(), fortune::pShaker.get(),
                window->lResponse()->Text(), window->Left()};
  };
  // A click every millisecond up to 99 ms into the first shake; the window does
  // not move before the first tick at 100 ms.
  int ignored = 0;
  for (std::int64_t t = 1; t <= 99; ++t) {
    loop->At(t, [&, t] {
      const Seen before = seen();
      window->ShakeOrbivane()->Push();
      if (loop->Now() != t) return;  // this click's shake has run to its end
      ++ignored;
      EXPECT_EQ(seen(), before) << "click at " << t;
    });
  }
  window->ShakeIt();

  EXPECT_EQ(ignored, 99 - 63);
  EXPECT_EQ(effects->sounds.size(), 64u);
  ASSERT_EQ(effects->speech.size(), 64u);
  for (const auto& u : effects->speech) EXPECT_FALSE(u.interrupt);
  EXPECT_EQ(effects->speech.back().text, window->lResponse()->Text());
  EXPECT_TRUE(reports.empty());
  // The 64th shake, started by the click at 63, was the last to move the window.
  EXPECT_EQ(loop->Now(), 63 + 1100);
  EXPECT_EQ(loop->RunningTimers(), 0);
  EXPECT_EQ(window->Left(), 100);

  // Once they are over, a click shakes again.
  window->ShakeOrbivane()->Push();
  EXPECT_EQ(loop->Now(), 63 + 2 * 1100);
  EXPECT_EQ(effects->speech.size(), 65u);
}

// A click that fails for the missing sound leaves no shake counted as running.
TEST_F(ShakeTest, FailedClicksDoNotCountTowardsTheNestingBound) {
  TempBundle bundle;
  UseBundle(bundle);
  for (int click = 0; click < 70; ++click) window->ShakeOrbivane()->Push();
  ASSERT_EQ(reports.size(), 70u);
  EXPECT_EQ(reports.back().className, "NilObjectException");

  // The sound turns up, and the accessor looks for it again.
  bundle.AddMedia("sandshake.mp3");
  resources::ReleaseSandShake();
  window->ShakeOrbivane()->Push();
  EXPECT_EQ(reports.size(), 70u);
  EXPECT_EQ(effects->sounds.size(), 1u);
  EXPECT_EQ(effects->speech.size(), 1u);
  EXPECT_EQ(loop->Now(), 1100);
}

TEST(Answers, FortyTwoDistinctAnswersInPlainAscii) {
  const std::set<std::string_view> distinct(fortune::kAnswers.begin(), fortune::kAnswers.end());
  EXPECT_EQ(distinct.size(), 42u);
  EXPECT_EQ(fortune::kAnswers[0], "Absolutely!");
  EXPECT_EQ(fortune::kAnswers[24], "Absolutely Yes!");
  EXPECT_EQ(fortune::kAnswers[41], "I'm fairly confident the answer is yes");
  for (auto answer : fortune::kAnswers) {
    EXPECT_FALSE(answer.empty());
    EXPECT_NE(answer.front(), ' ');
    EXPECT_NE(answer.back(), ' ');
    for (unsigned char c : answer) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << answer;
  }
  EXPECT_EQ(fortune::kShaking.size(), 21u);
}

TEST(RandomAnswers, DrawsStayInTheRangeAndReachBothEnds) {
  const auto random = System::Random();
  EXPECT_EQ(System::Random(), random);
  std::set<std::int64_t> seen;
  for (int i = 0; i < 5000; ++i) {
    const auto drawn = random->InRange(0, 41);
    ASSERT_GE(drawn, 0);
    ASSERT_LE(drawn, 41);
    seen.insert(drawn);
  }
  EXPECT_EQ(seen.size(), 42u);
}

// The answer shown and spoken is the table's entry at the drawn index: over many
// calls every one of the 42 turns up, the first and the last among them, and
// nothing else is ever shown.
TEST_F(ShakeTest, ShowResultReachesEveryAnswerFromTheFirstToTheLast) {
  std::set<std::string> shown;
  for (int call = 0; call < 3000; ++call) {
    window->ShowResult();
    const std::string answer = window->lResponse()->Text();
    ASSERT_TRUE(IsAnswer(answer)) << answer;
    ASSERT_EQ(effects->speech.back(), (Utterance{answer, false}));
    shown.insert(answer);
  }
  EXPECT_TRUE(shown.count(std::string(fortune::kAnswers.front())));
  EXPECT_TRUE(shown.count(std::string(fortune::kAnswers.back())));
  EXPECT_EQ(shown.size(), 42u);
  EXPECT_TRUE(reports.empty());
}
