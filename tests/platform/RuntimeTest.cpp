#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <thread>

#include "Fixtures.h"
#include "platform/Effects.h"
#include "platform/EventLoop.h"
#include "platform/Runtime.h"
#include "platform/Window.h"
#include "platform/qt/Display.h"
#include "shell/Startup.h"

using namespace platform;
using testing_support::ProgramTest;

class RuntimeTest : public ProgramTest {};

TEST_F(RuntimeTest, AnExceptionFromAnEventHandlerIsReportedAndTheProgramGoesOn) {
  // Through the program's exception helper, and before the program has set one.
  for (ExceptionHelper helper : {&CallFunctionWithExceptionHandling_, ExceptionHelper{}}) {
    RuntimeSetExceptionHelper_(helper);
    reports.clear();
    bool after = false;
    RaiseEvent([] { throw NilObjectException("Sound is nil"); });
    RaiseEvent([] { throw std::runtime_error("plain"); });
    RaiseEvent([&] { after = true; });
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[0].className, "NilObjectException");
    EXPECT_EQ(reports[0].message, "Sound is nil");
    EXPECT_EQ(reports[1].message, "plain");
    EXPECT_TRUE(after);
    EXPECT_EQ(ExitStatus(), 0);
  }
}

TEST_F(RuntimeTest, ABooleanEventThatRaisedAnswersFalse) {
  EXPECT_TRUE(RaiseEventForResult([] { return true; }));
  EXPECT_FALSE(RaiseEventForResult([]() -> bool { throw RuntimeException("no"); }));
  EXPECT_EQ(reports.size(), 1u);
}

TEST_F(RuntimeTest, TheExitStatusIsQuitsCodeOrFailureAfterAnUnhandledException) {
  Quit(3);
  EXPECT_TRUE(QuitRequested());
  EXPECT_EQ(ExitStatus(), 3);
  UnhandledException_(std::make_exception_ptr(RuntimeException("start-up failed")));
  EXPECT_NE(ExitStatus(), 0);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].className, "RuntimeException");
}

TEST_F(RuntimeTest, UserInterfaceCallsOffTheMainThreadRaise) {
  std::string raised;
  std::thread worker([&] {
    try {
      New<Window>();
    } catch (const RuntimeException& e) {
      raised = e.ClassName();
    }
  });
  worker.join();
  EXPECT_EQ(raised, "ThreadAccessingUIException");
}

TEST_F(RuntimeTest, AWindowIsItsClassesImplicitInstanceOnlyOnceBuilt) {
  EXPECT_FALSE(GetImplicitWindow_("Window"));
  auto window = New<Window>();
  EXPECT_FALSE(GetImplicitWindow_("Window"));
  window->Constructor();
  EXPECT_EQ(GetImplicitWindow_("Window"), window);
}

namespace {

// Sets or clears environment variables for one test and puts them back after.
class Environment {
 public:
  void Set(const char* name, const char* value) {
    Remember(name);
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~Environment() {
    for (const auto& [name, value] : saved_) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
  }

 private:
  void Remember(const char* name) {
    const char* value = getenv(name);
    saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// The settings with Qt's options given after the program's name.
detail::DisplaySettings Read(std::vector<const char*> options) {
  options.insert(options.begin(), "orbivane");
  return detail::ReadDisplaySettings(int(options.size()), options.data());
}

}  // namespace

TEST(ReadDisplaySettings, TheCommandLineWinsOverTheEnvironment) {
  Environment env;
  env.Set("QT_QPA_PLATFORM", "wayland");
  env.Set("DISPLAY", ":7");
  env.Set("WAYLAND_DISPLAY", "wayland-0");
  auto settings = Read({});
  EXPECT_EQ(settings.platform, "wayland");
  EXPECT_FALSE(settings.platformOnCommandLine);
  EXPECT_EQ(settings.x11, ":7");
  settings = Read({"-reverse", "-display", ":109", "--platform", "xcb"});
  EXPECT_EQ(settings.platform, "xcb");
  EXPECT_TRUE(settings.platformOnCommandLine);
  EXPECT_EQ(settings.x11, ":109");
  EXPECT_EQ(settings.wayland, "wayland-0");
  // A platform named empty on the command line is named all the same.
  EXPECT_TRUE(Read({"-platform", ""}).platformOnCommandLine);
}

TEST(ReadDisplaySettings, TakesOnlyWhatQtTakes) {
  Environment env;
  env.Set("QT_QPA_PLATFORM", nullptr);
  env.Set("DISPLAY", ":7");
  // "--display" is Qt's other spelling, and the last one counts; an empty name
  // leaves DISPLAY's.
  EXPECT_EQ(Read({"--display", ":1", "file", "-display", ":2"}).x11, ":2");
  EXPECT_EQ(Read({"-display", ":1", "-display", ""}).x11, ":7");
  // Neither a value after "=" nor an option without its value counts.
  EXPECT_EQ(Read({"-display=:1"}).x11, ":7");
  EXPECT_FALSE(Read({"--platform=offscreen"}).platformOnCommandLine);
  EXPECT_EQ(Read({"-display"}).x11, ":7");
  EXPECT_FALSE(Read({"-platform"}).platformOnCommandLine);
  // The value of another option is no option, X's own names included while X is
  // the platform.
  EXPECT_EQ(Read({"-qwindowtitle", "-display", ":1"}).x11, ":7");
  EXPECT_EQ(Read({"-name", "-display", ":1"}).x11, ":7");
  EXPECT_FALSE(Read({"-title", "-platform", "offscreen"}).platformOnCommandLine);
  EXPECT_EQ(Read({"-platform", "offscreen", "-title", "-platform", "xcb"}).platform, "xcb");
}

TEST(ChooseDisplay, WithBothDisplaysItRunsOnX) {
  Environment env;
  env.Set("QT_QPA_PLATFORM", nullptr);
  env.Set("DISPLAY", ":7");
  env.Set("WAYLAND_DISPLAY", "wayland-0");
  detail::ChooseDisplay(Read({}), "orbivane");
  EXPECT_STREQ(getenv("QT_QPA_PLATFORM"), "xcb");

  env.Set("QT_QPA_PLATFORM", nullptr);
  env.Set("DISPLAY", nullptr);
  detail::ChooseDisplay(Read({"-display", ":7"}), "orbivane");
  EXPECT_STREQ(getenv("QT_QPA_PLATFORM"), "xcb");
}

TEST(ChooseDisplay, AChosenPlatformOrASingleDisplayIsLeftAlone) {
  Environment env;
  env.Set("QT_QPA_PLATFORM", "wayland");
  env.Set("DISPLAY", ":7");
  env.Set("WAYLAND_DISPLAY", "wayland-0");
  detail::ChooseDisplay(Read({}), "orbivane");
  EXPECT_STREQ(getenv("QT_QPA_PLATFORM"), "wayland");

  env.Set("QT_QPA_PLATFORM", nullptr);
  for (const char* platform : {"offscreen", "wayland"}) {
    detail::ChooseDisplay(Read({"-platform", platform}), "orbivane");
    EXPECT_EQ(getenv("QT_QPA_PLATFORM"), nullptr) << platform;
  }

  env.Set("WAYLAND_DISPLAY", nullptr);
  detail::ChooseDisplay(Read({}), "orbivane");
  EXPECT_EQ(getenv("QT_QPA_PLATFORM"), nullptr);
}

TEST(ChooseDisplay, WithNoDisplayItSaysSoInOneLineAndFails) {
  Environment env;
  env.Set("QT_QPA_PLATFORM", nullptr);
  env.Set("DISPLAY", nullptr);
  env.Set("WAYLAND_DISPLAY", nullptr);
  EXPECT_EXIT(detail::ChooseDisplay(Read({}), "orbivane"), ::testing::ExitedWithCode(2),
              "^orbivane: no display available: set DISPLAY \\(X11\\) or WAYLAND_DISPLAY, or run "
              "with QT_QPA_PLATFORM=offscreen\n$");
  // A platform or an X display named on the command line is enough to go on.
  for (auto options : {std::vector<const char*>{"-platform", "offscreen"},
                       std::vector<const char*>{"--display", ":0"}}) {
    EXPECT_EXIT(
        {
          detail::ChooseDisplay(Read(options), "orbivane");
          std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "^$")
        << options[0];
  }
}

TEST(NoDisplayLine, NamesTheDisplayThatCouldNotBeOpened) {
  const std::vector<std::string> installed{"offscreen", "wayland", "xcb"};
  EXPECT_EQ(detail::NoDisplayLine({.x11 = ":57", .installed = installed}),
            "cannot open the X display \":57\"");
  // Of a list of platforms, the first one installed is the one that failed.
  EXPECT_EQ(
      detail::NoDisplayLine({.platform = "nosuch;XCB:opt=1", .x11 = ":57", .installed = installed}),
      "cannot open the X display \":57\"");
  EXPECT_EQ(detail::NoDisplayLine({.platform = "xcb", .installed = installed}),
            "cannot open an X display: DISPLAY is not set");
  EXPECT_EQ(detail::NoDisplayLine({.wayland = "wayland-9", .installed = installed}),
            "cannot open the Wayland display \"wayland-9\"");
}

TEST(NoDisplayLine, NamesAPlatformThatIsNotInstalledAndThoseThatAre) {
  const std::vector<std::string> installed{"offscreen", "xcb"};
  EXPECT_EQ(detail::NoDisplayLine({.platform = "nosuch", .x11 = ":0", .installed = installed}),
            "platform \"nosuch\" is not available (QT_QPA_PLATFORM); available: offscreen, xcb");
  EXPECT_EQ(detail::NoDisplayLine({.wayland = "wayland-0", .installed = installed}),
            "platform \"wayland\" is not available; available: offscreen, xcb");
  EXPECT_EQ(detail::NoDisplayLine({.platform = "nosuch"}),
            "platform \"nosuch\" is not available (QT_QPA_PLATFORM)");
  EXPECT_EQ(detail::NoDisplayLine({.platform = "nosuch", .platformOnCommandLine = true}),
            "platform \"nosuch\" is not available (-platform)");
}

TEST(NoDisplayLine, WithNothingToTryItAsksForADisplay) {
  // Qt tries no platform when the one named is empty, even with a display at hand.
  for (const detail::DisplaySettings& settings :
       {detail::DisplaySettings{.platform = ";", .installed = {"xcb"}},
        detail::DisplaySettings{
            .platformOnCommandLine = true, .x11 = ":0", .installed = {"xcb"}}}) {
    EXPECT_EQ(detail::NoDisplayLine(settings),
              "no display available: set DISPLAY (X11) or WAYLAND_DISPLAY, or run with "
              "QT_QPA_PLATFORM=offscreen");
  }
}

namespace {

// An exit handler that destroys one of the objects below ends the process with
// this status, saying which.
constexpr int kTornDown = 99;
void SayTornDown(const char* what) {
  std::fprintf(stderr, "torn down: %s\n", what);
  std::_Exit(kTornDown);
}

// The real effects, so that the audio thread runs.
class MarkedEffects final : public Effects {
 public:
  ~MarkedEffects() override { SayTornDown("effects"); }
  void PlaySound(const std::string& file) override { real_->PlaySound(file); }
  void Speak(const std::string& text, bool interrupt) override { real_->Speak(text, interrupt); }
  void ShowURL(const std::string& url) override { real_->ShowURL(url); }
  void MessageBox(const std::string& text) override { real_->MessageBox(text); }

 private:
  std::unique_ptr<Effects> real_ = MakeQtEffects();
};

class MarkedEventLoop final : public EventLoop {
 public:
  ~MarkedEventLoop() override { SayTornDown("event loop"); }
  void DoEvents(bool waitForMore) override { clock_.DoEvents(waitForMore); }
  std::unique_ptr<TimerPeer> NewTimer(std::function<void()> tick) override {
    return clock_.NewTimer(std::move(tick));
  }

 private:
  testing_support::ManualEventLoop clock_;
};

class MarkedWindow final : public Window {
 public:
  ~MarkedWindow() override { SayTornDown("window"); }
};

// The runtime's statics, each made at its first use.
void RegisterClasses() { RuntimePerformInitializers({}); }
void StartTheAudio() {
  SetEffects(std::make_unique<MarkedEffects>());
  CurrentEffects().PlaySound((testing_support::BuiltBundle() / "Resources/sandshake.mp3").string());
  CurrentEffects().Speak("shake", false);
}
void ShowAWindow() {
  auto window = New<MarkedWindow>();
  window->Constructor();
  window->SetVisible(true);
  Window::FrontWindow();
}
void RunTheEventLoop() {
  SetEventLoop(std::make_unique<MarkedEventLoop>());
  CurrentEventLoop().DoEvents(false);
}

}  // namespace

// Qt calls exit() when the connection to the X display breaks. While the
// application exists, such an exit ends the process with its status and destroys
// none of the runtime's objects, whichever of them was made first.
TEST(ExitWhileTheApplicationExists, EndsWithItsStatusWhateverWasMadeFirst) {
  const std::string style = GTEST_FLAG_GET(death_test_style);
  // A fresh process, in which the statics are made in the order given here.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  using Steps = std::vector<void (*)()>;
  int status = 3;
  for (const Steps& order : {Steps{RegisterClasses, StartTheAudio, ShowAWindow, RunTheEventLoop},
                             Steps{RunTheEventLoop, ShowAWindow, StartTheAudio, RegisterClasses}}) {
    EXPECT_EXIT(
        {
          for (auto step : order) step();
          std::exit(status);
        },
        ::testing::ExitedWithCode(status), "");
    ++status;
  }
  GTEST_FLAG_SET(death_test_style, style);
}
