#include <gtest/gtest.h>

#include <QEvent>
#include <QMoveEvent>

#include "Fixtures.h"
#include "credits/Credits.h"
#include "fortune/WinMain.h"
#include "platform/Runtime.h"
#include "platform/qt/WindowWidget.h"
#include "shell/App.h"

using testing_support::ProgramTest;

class AppTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    StartProgram();
  }
};

TEST_F(AppTest, OpenRemembersWhereTheMainWindowStoodThen) {
  EXPECT_EQ(App()->Wleft, 0);
  EXPECT_EQ(App()->Wtop, 0);
  WinMain()->SetLeft(50);
  WinMain()->SetTop(60);
  App()->Event_Open();
  EXPECT_EQ(App()->Wleft, 50);
  EXPECT_EQ(App()->Wtop, 60);

  WinMain()->SetLeft(200);
  WinMain()->ShakeIt();
  EXPECT_EQ(App()->Wleft, 50);
  EXPECT_EQ(App()->Wtop, 60);
}

namespace {

// Records the window's moves as the window system sees them.
class MoveRecorder : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Move) moves.push_back(static_cast<QMoveEvent*>(event)->pos());
    return false;
  }
  std::vector<QPoint> moves;
};

}  // namespace

TEST_F(AppTest, ResetWindowPositionMovesTheLeftEdgeFirstThenTheTop) {
  WinMain()->SetLeft(10);
  WinMain()->SetTop(20);
  App()->Event_Open();
  WinMain()->SetLeft(300);
  WinMain()->SetTop(310);

  MoveRecorder recorder;
  auto* widget = WinMain()->WindowPeer().widget.get();
  widget->installEventFilter(&recorder);
  App()->ResetWindowPosition();
  widget->removeEventFilter(&recorder);

  EXPECT_EQ(WinMain()->Left(), 10);
  EXPECT_EQ(WinMain()->Top(), 20);
  ASSERT_GE(recorder.moves.size(), 2u);
  EXPECT_EQ(recorder.moves[0].x(), recorder.moves[1].x());
  EXPECT_NE(recorder.moves[0].y(), recorder.moves[1].y());
}

TEST_F(AppTest, QuitAppHandsOverToOneCreditsWindowAndKeepsRunning) {
  App()->QuitApp();
  const auto credits = Credits();
  EXPECT_FALSE(WinMain()->Visible());
  EXPECT_FALSE(WinMain()->WindowPeer().widget->isVisible());
  EXPECT_TRUE(credits->WindowPeer().widget->isVisible());

  App()->QuitApp();
  EXPECT_EQ(Credits(), credits);
  EXPECT_TRUE(credits->Visible());
  EXPECT_FALSE(WinMain()->Visible());
  EXPECT_FALSE(platform::QuitRequested());
  // The hidden main window is still the one the credits read from.
  EXPECT_EQ(WinMain()->WebsiteURL, "https://www.tarnwick.example/freeforfun");
  credits->SetVisible(false);
}

TEST_F(AppTest, AnswersForTheEventsItHandles) {
  const auto app = App();
  EXPECT_TRUE(app->IsEventImplemented("Open"));
  EXPECT_TRUE(app->IsEventImplemented("Close"));
  for (const char* other :
       {"Activate", "AppearanceChanged", "CancelClose", "Deactivate", "EnableMenuItems",
        "HandleAppleEvent", "NewDocument", "OpenDocument", "UnhandledException"}) {
    EXPECT_FALSE(app->IsEventImplemented(other)) << other;
  }
}
