#include <gtest/gtest.h>

#include <optional>
#include <thread>

#include "Fixtures.h"
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

}  // namespace

TEST(ChooseDisplay, WithBothDisplaysItRunsOnX) {
  Environment env;
  env.Set("QT_QPA_PLATFORM", nullptr);
  env.Set("DISPLAY", ":7");
  env.Set("WAYLAND_DISPLAY", "wayland-0");
  detail::ChooseDisplay("orbivane");
  EXPECT_STREQ(getenv("QT_QPA_PLATFORM"), "xcb");
}

TEST(ChooseDisplay, AChosenPlatformOrASingleDisplayIsLeftAlone) {
  Environment env;
  env.Set("QT_QPA_PLATFORM", "wayland");
  env.Set("DISPLAY", ":7");
  env.Set("WAYLAND_DISPLAY", "wayland-0");
  detail::ChooseDisplay("orbivane");
  EXPECT_STREQ(getenv("QT_QPA_PLATFORM"), "wayland");

  env.Set("QT_QPA_PLATFORM", nullptr);
  env.Set("WAYLAND_DISPLAY", nullptr);
  detail::ChooseDisplay("orbivane");
  EXPECT_EQ(getenv("QT_QPA_PLATFORM"), nullptr);
}

TEST(ChooseDisplay, WithNoDisplayItSaysSoInOneLineAndFails) {
  Environment env;
  env.Set("QT_QPA_PLATFORM", nullptr);
  env.Set("DISPLAY", nullptr);
  env.Set("WAYLAND_DISPLAY", nullptr);
  EXPECT_EXIT(detail::ChooseDisplay("orbivane"), ::testing::ExitedWithCode(2),
              "^orbivane: no display available: set DISPLAY \\(X11\\) or WAYLAND_DISPLAY, or run "
              "with QT_QPA_PLATFORM=offscreen\n$");
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
}

TEST(NoDisplayLine, WithNothingToTryItAsksForADisplay) {
  EXPECT_EQ(detail::NoDisplayLine({.platform = ";", .installed = {"xcb"}}),
            "no display available: set DISPLAY (X11) or WAYLAND_DISPLAY, or run with "
            "QT_QPA_PLATFORM=offscreen");
}
