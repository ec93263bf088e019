#include <gtest/gtest.h>

#include <thread>

#include "Fixtures.h"
#include "platform/Runtime.h"
#include "platform/Window.h"

using namespace platform;
using testing_support::ProgramTest;

class RuntimeTest : public ProgramTest {};

TEST_F(RuntimeTest, AnExceptionFromAnEventHandlerIsReportedAndTheProgramGoesOn) {
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

TEST_F(RuntimeTest, ABooleanEventThatRaisedAnswersFalse) {
  EXPECT_TRUE(RaiseEventForResult([] { return true; }));
  EXPECT_FALSE(RaiseEventForResult([]() -> bool { throw RuntimeException("no"); }));
  EXPECT_EQ(reports.size(), 1u);
}

TEST_F(RuntimeTest, TheExitStatusIsQuitsCodeOrFailureAfterAnUnhandledException) {
  Quit(3);
  EXPECT_TRUE(QuitRequested());
  EXPECT_EQ(ExitStatus(), 3);
  _UnhandledException(std::make_exception_ptr(RuntimeException("start-up failed")));
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
  EXPECT_FALSE(_GetImplicitWindow("Window"));
  auto window = New<Window>();
  EXPECT_FALSE(_GetImplicitWindow("Window"));
  window->Constructor();
  EXPECT_EQ(_GetImplicitWindow("Window"), window);
}
