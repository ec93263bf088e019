#include <gtest/gtest.h>

#include <QTimer>
#include <thread>

#include "Fixtures.h"
#include "credits/Credits.h"
#include "fortune/WinMain.h"
#include "platform/Runtime.h"
#include "platform/qt/WindowWidget.h"
#include "shell/App.h"
#include "shell/MainMenuBar.h"
#include "shell/Startup.h"

using testing_support::ProgramTest;

class StartupTest : public ProgramTest {};

TEST_F(StartupTest, EarlyStartUpRegistersTheApplicationWithVersionAndMenuBarBeforeAnyWindow) {
  EarlyStartup_();
  const auto app = App();
  ASSERT_TRUE(app);
  EXPECT_EQ(app->MajorVersion(), 1);
  EXPECT_EQ(app->MinorVersion(), 0);
  EXPECT_EQ(app->BugVersion(), 0);
  EXPECT_EQ(app->NonReleaseVersion(), 0);
  EXPECT_EQ(app->StageCode(), 0);
  EXPECT_EQ(app->LongVersion(), "");
  EXPECT_EQ(app->ShortVersion(), "");
  EXPECT_EQ(app->PackageInfo(), "");
  EXPECT_EQ(app->MenuBar(), MainMenuBar());
  EXPECT_EQ(app->MenuBar()->Count(), 3u);
  EXPECT_FALSE(platform::GetImplicitWindow_("WinMain.WinMain"));
  EXPECT_TRUE(platform::SupportsHiDPI());
}

TEST_F(StartupTest, LateStartUpMakesTheMainWindowWithTheSameMenuBar) {
  StartProgram();
  const auto window = platform::GetImplicitWindow_("WinMain.WinMain");
  ASSERT_TRUE(window);
  EXPECT_TRUE(window->Visible());
  EXPECT_EQ(window->MenuBar(), App()->MenuBar());
  // The credits window is made only when the user leaves.
  EXPECT_FALSE(platform::GetImplicitWindow_("Credits.Credits"));
}

// The event loop raises the application's Open when it starts and its Close when
// it ends; what Close shows then never reaches the screen.
TEST_F(StartupTest, TheEventLoopOpensTheApplicationAndClosesItOnQuit) {
  StartProgram();
  WinMain()->SetLeft(123);
  QTimer::singleShot(0, [] { platform::Quit(0); });
  platform::RuntimeRun_();

  EXPECT_EQ(App()->Wleft, 123);
  EXPECT_EQ(App()->Wtop, WinMain()->Top());
  EXPECT_TRUE(platform::IsTerminating());
  EXPECT_EQ(platform::ExitStatus(), 0);
  EXPECT_FALSE(WinMain()->Visible());
  ASSERT_TRUE(platform::GetImplicitWindow_("Credits.Credits"));
  EXPECT_TRUE(Credits()->Visible());
  EXPECT_FALSE(Credits()->WindowPeer().widget->isVisible());
}

// A start-up that fails is reported, never reaches the event loop, and ends with
// a failure status. Here the menu bar cannot be built off the main thread.
TEST_F(StartupTest, AFailedEarlyStartUpIsReportedAndSkipsTheEventLoop) {
  std::thread starter([] { Main_(); });
  starter.join();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].className, "ThreadAccessingUIException");
  EXPECT_FALSE(platform::GetAppObject_());
  EXPECT_FALSE(platform::GetImplicitWindow_("WinMain.WinMain"));
  EXPECT_NE(platform::ExitStatus(), 0);
}

TEST(CallFunctionWithExceptionHandling, ReturnsTheRuntimeExceptionAndPassesOthersOn) {
  EXPECT_EQ(CallFunctionWithExceptionHandling_([] {}), nullptr);

  auto escaped =
      CallFunctionWithExceptionHandling_([] { throw platform::NilObjectException("gone"); });
  ASSERT_NE(escaped, nullptr);
  EXPECT_STREQ(escaped->ClassName(), "NilObjectException");
  EXPECT_EQ(escaped->Message(), "gone");

  EXPECT_THROW(CallFunctionWithExceptionHandling_([] { throw std::logic_error("other"); }),
               std::logic_error);
}
