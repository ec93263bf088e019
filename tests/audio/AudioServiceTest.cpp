#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <thread>

#include "FakeAudioParts.h"
#include "platform/audio/AudioService.h"

using namespace std::chrono_literals;
using platform::audio::AudioService;
using platform::audio::AudioTiming;
using testing_support::FakeParts;
using testing_support::ReportTo;
using testing_support::Stage;
using Clock = std::chrono::steady_clock;
using Calls = std::vector<std::string>;

class AudioServiceTest : public ::testing::Test {
 protected:
  void Start(AudioTiming timing = {}) {
    service.emplace(FakeParts(stage), ReportTo(stage), timing);
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
  Start();
  service->PlaySound("/sounds/ten-minutes.mp3");
  service->Speak("a long answer", false);
  ASSERT_TRUE(Seen({"connect", "play sound", "play speech a long answer"}));

  const auto asked = Clock::now();
  service->Speak("short", true);
  ASSERT_TRUE(LastSeen("play speech short"));
  EXPECT_LT(Clock::now() - asked, 1s);

  const auto leaving = Clock::now();
  service.reset();
  EXPECT_LT(Clock::now() - leaving, 1s);
  // The audio thread ended and its parts went with it: it was not left behind.
  EXPECT_TRUE(stage->partsGone);
}

TEST_F(AudioServiceTest, LeavingWithAWedgedPartReturnsAfterItsWait) {
  stage->wedgeConnect = true;
  Start({.exitWait = 200ms});
  service->PlaySound("/sounds/shake.mp3");
  ASSERT_TRUE(Seen({"connect"}));

  const auto leaving = Clock::now();
  service.reset();
  EXPECT_LT(Clock::now() - leaving, 1s);
  EXPECT_FALSE(stage->partsGone);

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
  Start({.connectTimeout = 100ms, .retryAfter = 300ms});
  service->PlaySound("/sounds/shake.mp3");
  service->Speak("Yes!", false);
  ASSERT_TRUE(Seen({"connect", "disconnect"}));
  EXPECT_EQ(stage->reports, (Calls{"no sound or speech: the sound server does not answer"}));

  // Soon after, a request is dropped without trying again. Later, the server
  // back, a request finds it.
  service->PlaySound("/sounds/shake.mp3");
  Answer(Stage::Answer::Connect);
  std::this_thread::sleep_for(400ms);
  service->PlaySound("/sounds/shake.mp3");
  ASSERT_TRUE(Seen({"connect", "disconnect", "connect", "play sound"}));

  // What waited for the first connection was dropped with it.
  service->Speak("now", false);
  ASSERT_TRUE(LastSeen("play speech now"));
  EXPECT_EQ(stage->rendered, (Calls{"now"}));
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
  stage->events->Lost("lost the sound server (Connection terminated)");
  stage->events->Lost("lost the sound server (Connection terminated)");
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
