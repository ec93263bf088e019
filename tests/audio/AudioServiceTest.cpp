#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <optional>

#include "FakeAudioParts.h"
#include "platform/audio/AudioService.h"

using namespace std::chrono_literals;
using platform::audio::AudioService;
using platform::audio::AudioTiming;
using testing_support::FakeParts;
using testing_support::ReportTo;
using testing_support::Stage;
using testing_support::StageTiming;
using Clock = std::chrono::steady_clock;
using Calls = std::vector<std::string>;

class AudioServiceTest : public ::testing::Test {
 protected:
  void Start(AudioTiming timing = {}) {
    service.emplace(FakeParts(stage), ReportTo(stage), StageTiming(stage, timing));
  }

  // Leaves, and tells whether the audio thread had ended by then, its parts gone
  // with it, rather than being left behind when the wait ran out.
  bool LeaveAndJoin() {
    service.reset();
    std::lock_guard lock(stage->mutex);
    return stage->partsGone;
  }

  // Posts a request that leaves no trace of its own and waits until the audio
  // thread has looked at it.
  void PostUnseen(const std::function<void()>& post) {
    const int readings = stage->ClockReadings();
    post();
    ASSERT_TRUE(stage->WaitFor([&](Stage& s) { return s.clockReadings > readings; }));
  }

  bool Seen(const Calls& expected) {
    return stage->WaitFor([&](Stage& s) { return s.calls == expected; });
  }
  bool LastSeen(const std::string& call) {
    return stage->WaitFor([&](Stage& s) { return !s.calls.empty() && s.calls.back() == call; });
  }

  void Answer(Stage::Answer answer) {
    std::lock_guard lock(stage->mutex);
    stage->answer = answer;
  }

  std::shared_ptr<Stage> stage = std::make_shared<Stage>();
  std::optional<AudioService> service;
};

TEST_F(AudioServiceTest, TextsAreSpokenInTurnAndAnInterruptCutsIn) {
  Start();
  service->Speak("one", false);
  service->Speak("two", false);
  service->Speak("three", false);
  ASSERT_TRUE(Seen({"connect", "play speech one"}));

  // The next text waits until the one playing has been heard.
  stage->FinishSpeech();
  ASSERT_TRUE(Seen({"connect", "play speech one", "play speech two"}));

  // An interrupt stops what plays, drops what waits and speaks at once.
  service->Speak("four", true);
  ASSERT_TRUE(
      Seen({"connect", "play speech one", "play speech two", "stop speech", "play speech four"}));
  // Nothing waits any more: the next text follows "four" directly.
  stage->FinishSpeech();
  service->Speak("five", false);
  ASSERT_TRUE(LastSeen("play speech five"));
  EXPECT_EQ(stage->rendered, (Calls{"one", "two", "four", "five"}));
  EXPECT_TRUE(stage->reports.empty());
}

TEST_F(AudioServiceTest, ASecondPlayRestartsTheSoundDecodedOnce) {
  Start();
  service->PlaySound("/sounds/shake.mp3");
  ASSERT_TRUE(Seen({"connect", "play sound"}));
  service->PlaySound("/sounds/shake.mp3");
  ASSERT_TRUE(Seen({"connect", "play sound", "play sound"}));
  EXPECT_EQ(stage->decodes, 1);
  EXPECT_EQ(stage->soundsPlayed[0], stage->soundsPlayed[1]);
}

TEST_F(AudioServiceTest, NeitherAnInterruptNorLeavingWaitsForALongClipToEnd) {
  // A wait far longer than the test may take: a thread left behind cannot pass
  // for one that was joined.
  Start({.exitWait = 60s});
  // The fake server never ends a clip by itself.
  service->PlaySound("/sounds/ten-minutes.mp3");
  service->Speak("a long answer", false);
  ASSERT_TRUE(Seen({"connect", "play sound", "play speech a long answer"}));

  service->Speak("short", true);
  ASSERT_TRUE(LastSeen("play speech short"));

  const auto leaving = Clock::now();
  EXPECT_TRUE(LeaveAndJoin());
  EXPECT_LT(Clock::now() - leaving, 30s);
}

TEST_F(AudioServiceTest, LeavingWithAWedgedPartReturnsAfterItsWait) {
  stage->wedgeConnect = true;
  Start({.exitWait = 200ms});
  service->PlaySound("/sounds/shake.mp3");
  ASSERT_TRUE(Seen({"connect"}));

  const auto leaving = Clock::now();
  EXPECT_FALSE(LeaveAndJoin());
  EXPECT_GE(Clock::now() - leaving, 200ms);
  EXPECT_LT(Clock::now() - leaving, 20s);

  // The thread left behind still ends cleanly once its part returns.
  stage->Release();
  EXPECT_TRUE(stage->WaitFor([](Stage& s) { return s.partsGone; }));
}

TEST_F(AudioServiceTest, WithoutTheSpeechLibraryItIsSaidOnceAndSoundStillPlays) {
  stage->voiceMissing = true;
  Start();
  for (size_t click = 1; click <= 3; ++click) {
    service->Speak("Yes!", false);
    service->PlaySound("/sounds/shake.mp3");
    ASSERT_TRUE(stage->WaitFor([&](Stage& s) { return s.calls.size() == click + 1; }));
  }
  EXPECT_EQ(stage->calls, (Calls{"connect", "play sound", "play sound", "play sound"}));
  EXPECT_EQ(stage->reports,
            (Calls{"no speech: libespeak-ng.so.1: cannot open shared object file"}));
}

TEST_F(AudioServiceTest, AServerThatPlaysNothingIsSaidOnceAndTheAnswersGoOn) {
  stage->noDevice = true;
  Start();
  service->PlaySound("/sounds/shake.mp3");
  ASSERT_TRUE(Seen({"connect", "play sound"}));
  service->Speak("one", false);
  service->Speak("two", false);
  service->PlaySound("/sounds/shake.mp3");
  // Each answer is given up when the server refuses it, so the next one comes.
  ASSERT_TRUE(stage->WaitFor([](Stage& s) { return s.calls.size() == 5; }));
  EXPECT_EQ(std::count(stage->calls.begin(), stage->calls.end(), "play speech two"), 1);
  EXPECT_EQ(std::count(stage->calls.begin(), stage->calls.end(), "play sound"), 2);
  EXPECT_EQ(stage->reports,
            (Calls{"no sound or speech: the sound server cannot play (No such entity)"}));
}

TEST_F(AudioServiceTest, AServerThatDoesNotAnswerIsGivenUpThenTriedAgainLater) {
  Answer(Stage::Answer::Silence);
  Start({.connectTimeout = 2s, .retryAfter = 3s});
  service->PlaySound("/sounds/shake.mp3");
  service->Speak("Yes!", false);
  ASSERT_TRUE(Seen({"connect"}));
  stage->Advance(2s);
  ASSERT_TRUE(Seen({"connect", "disconnect"}));
  EXPECT_EQ(stage->reports, (Calls{"no sound or speech: the sound server does not answer"}));

  // Soon after, a request is dropped without trying again, even with the server
  // back. Later, a request finds it.
  Answer(Stage::Answer::Connect);
  stage->Advance(2999ms);
  PostUnseen([&] { service->PlaySound("/sounds/shake.mp3"); });
  stage->Advance(1ms);
  service->PlaySound("/sounds/shake.mp3");
  ASSERT_TRUE(Seen({"connect", "disconnect", "connect", "play sound"}));

  // A late word on the connection given up changes nothing; what waited for it
  // was dropped with it.
  stage->events->Lost(1, "cannot reach the sound server (Timeout)");
  service->Speak("now", false);
  ASSERT_TRUE(LastSeen("play speech now"));
  EXPECT_EQ(stage->rendered, (Calls{"now"}));
  EXPECT_EQ(stage->reports.size(), 1u);
}

TEST_F(AudioServiceTest, ALongDecodeDoesNotCountAgainstAServerThatAnswered) {
  // The server answers at once; the audio thread only looks after a decode that
  // took longer than the connection may.
  stage->decodeTime = 30s;
  Start({.connectTimeout = 2s});
  service->PlaySound("/sounds/thirty-minutes.mp3");
  ASSERT_TRUE(Seen({"connect", "play sound"}));
  service->Speak("Yes!", false);
  ASSERT_TRUE(LastSeen("play speech Yes!"));
  EXPECT_TRUE(stage->reports.empty()) << stage->reports.front();
}

TEST_F(AudioServiceTest, AFailureOnTheAudioThreadIsSaidOnceAndThenAllIsSilent) {
  stage->decodeThrows = true;
  Start({.exitWait = 60s});
  service->PlaySound("/sounds/shake.mp3");
  ASSERT_TRUE(stage->WaitFor([](Stage& s) { return !s.reports.empty(); }));
  EXPECT_EQ(stage->reports,
            (Calls{"no sound or speech from now on: the audio thread failed: std::bad_alloc"}));
  // The thread has ended: later requests go nowhere, and leaving finds nothing to
  // wait for.
  EXPECT_TRUE(stage->WaitFor([](Stage& s) { return s.partsGone; }));
  service->Speak("Yes!", false);
  service->PlaySound("/sounds/shake.mp3");
  EXPECT_TRUE(LeaveAndJoin());
  EXPECT_EQ(stage->calls, (Calls{"connect"}));
  EXPECT_EQ(stage->decodes, 1);
  EXPECT_EQ(stage->reports.size(), 1u);
}

TEST_F(AudioServiceTest, EachOutageIsSaidOnceAndSoundComesBackByItself) {
  Answer(Stage::Answer::Refuse);
  Start({.retryAfter = 0ms});
  for (size_t click = 1; click <= 3; ++click) {
    service->PlaySound("/sounds/shake.mp3");
    ASSERT_TRUE(stage->WaitFor([&](Stage& s) {
      return size_t(std::count(s.calls.begin(), s.calls.end(), "disconnect")) == click;
    }));
  }
  EXPECT_EQ(stage->Count("connect"), 3u);
  EXPECT_EQ(stage->Count("play sound"), 0u);

  Answer(Stage::Answer::Connect);
  service->Speak("one", false);
  service->Speak("two", false);
  ASSERT_TRUE(LastSeen("play speech one"));

  // Lost while speaking, a new outage: what waits is dropped, and once the server
  // is back the next request reconnects.
  stage->LoseConnection("lost the sound server (Connection terminated)");
  stage->LoseConnection("lost the sound server (Connection terminated)");
  stage->FinishSpeech();
  Answer(Stage::Answer::Refuse);
  service->PlaySound("/sounds/shake.mp3");
  ASSERT_TRUE(stage->WaitFor(
      [](Stage& s) { return std::count(s.calls.begin(), s.calls.end(), "disconnect") == 5; }));
  Answer(Stage::Answer::Connect);
  service->PlaySound("/sounds/shake.mp3");
  service->Speak("three", false);
  ASSERT_TRUE(LastSeen("play speech three"));
  EXPECT_EQ(stage->Count("play speech two"), 0u);
  EXPECT_EQ(stage->Count("play sound"), 1u);
  EXPECT_EQ(stage->reports,
            (Calls{"no sound or speech: cannot reach the sound server (Connection refused)",
                   "no sound or speech: lost the sound server (Connection terminated)"}));
}
