#include <gtest/gtest.h>

#include "Fixtures.h"
#include "credits/Credits.h"
#include "fortune/WinMain.h"
#include "platform/Runtime.h"
#include "platform/qt/MenuPeer.h"
#include "platform/qt/WindowWidget.h"
#include "shell/App.h"

using namespace platform;
using testing_support::Click;
using testing_support::ProgramTest;

namespace {
constexpr char kSite[] = "https://www.tarnwick.example/freeforfun";
constexpr char kContact[] = "https://www.tarnwick.example/write-us-now";
}  // namespace

class WinMainEventsTest : public testing_support::StartedProgramTest {};

TEST_F(WinMainEventsTest, OpeningSetsTheTitleTheCopyrightLineAndTheAddresses) {
  EXPECT_EQ(window->Title(), "Orbivane 1.0");
  EXPECT_EQ(window->AppName, "Orbivane 1.0");
  EXPECT_EQ(window->lbl_Copyright()->Text(), window->Copyright);
  EXPECT_NE(window->Copyright.find("Tarnwick"), std::string::npos);
  EXPECT_EQ(window->Copyright.find('\n'), std::string::npos);
  EXPECT_EQ(window->WebsiteURL, kSite);
  EXPECT_EQ(window->ContactURL, kContact);
}

TEST_F(WinMainEventsTest, EveryWebLinkOpensTheSiteAsItStandsAtTheClick) {
  Click(window->lbl_Copyright(), 10, 10);
  window->btn_VisitWebsite()->Push();
  EXPECT_TRUE(window->VisitWebsite()->Choose());
  window->WebsiteURL = "https://changed.example/";
  window->btn_VisitWebsite()->Push();
  EXPECT_EQ(effects->urls,
            (std::vector<std::string>{kSite, kSite, kSite, "https://changed.example/"}));
  EXPECT_FALSE(window->lbl_Copyright_MouseDown(*window->lbl_Copyright(), 0, 0));
}

TEST_F(WinMainEventsTest, AboutShowsTheProgramsNameAndHandlesTheChoice) {
  EXPECT_TRUE(window->AboutMenu()->Choose());
  EXPECT_EQ(effects->messages, std::vector<std::string>{"Orbivane 1.0"});
  EXPECT_TRUE(window->AboutMenu_Action_());
}

TEST_F(WinMainEventsTest, FileQuitEndsTheProgramWithStatusZero) {
  EXPECT_TRUE(window->FileQuit()->Choose());
  EXPECT_TRUE(QuitRequested());
  EXPECT_EQ(ExitStatus(), 0);
}

TEST_F(WinMainEventsTest, TheEditItemsAndTheMenusRunNothingOfOurs) {
  for (const auto& item : {window->EditUndo(), window->EditCut(), window->EditCopy(),
                           window->EditPaste(), window->EditClear(), window->EditSelectAll()}) {
    EXPECT_FALSE(item->MenuPeer().action->isEnabled()) << item->Name();
    EXPECT_FALSE(item->Choose()) << item->Name();
  }
  for (const auto& menu : {window->FileMenu(), window->EditMenu(), window->HelpMenu()}) {
    EXPECT_TRUE(menu->MenuPeer().action->isEnabled()) << menu->Name();
    EXPECT_FALSE(menu->Choose()) << menu->Name();
  }
  EXPECT_TRUE(window->AboutMenu()->MenuPeer().action->isEnabled());
  EXPECT_TRUE(window->VisitWebsite()->MenuPeer().action->isEnabled());
  EXPECT_TRUE(effects->urls.empty() && effects->messages.empty() && effects->sounds.empty());
  EXPECT_FALSE(QuitRequested());
}

TEST_F(WinMainEventsTest, MenuItemAccessorsFindTheirItemsAndNeedAMenuBar) {
  EXPECT_EQ(window->FileQuit()->Name(), "FileQuit");
  EXPECT_EQ(window->AboutMenu()->RuntimeClass().Name(), "ApplicationMenuItem");
  EXPECT_EQ(window->EditSeparator2()->Text(), "-");
  window->SetMenuBar(nullptr);
  EXPECT_THROW(window->HelpMenu(), NilObjectException);
}

TEST_F(WinMainEventsTest, AMenuHandlerWhoseActionRaisedAnswersFalse) {
  // A desktop whose browser cannot be started.
  struct Failing : platform::Effects {
    void PlaySound(const std::string&) override {}
    void Speak(const std::string&, bool) override {}
    void ShowURL(const std::string&) override { throw RuntimeException("no browser"); }
    void MessageBox(const std::string&) override {}
  };
  SetEffects(std::make_unique<Failing>());
  EXPECT_FALSE(window->VisitWebsite()->Choose());
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].message, "no browser");
}

TEST_F(WinMainEventsTest, TheQuitButtonAndTheCloseBoxHandOverToTheCredits) {
  window->btn_quit()->Push();
  EXPECT_FALSE(window->Visible());
  const auto credits = Credits();
  EXPECT_TRUE(credits->WindowPeer().widget->isVisible());
  EXPECT_FALSE(QuitRequested());

  window->SetVisible(true);
  window->Close();
  EXPECT_FALSE(window->WindowPeer().widget->isVisible());
  EXPECT_EQ(Credits(), credits);
  EXPECT_TRUE(credits->WindowPeer().widget->isVisible());
  EXPECT_FALSE(QuitRequested());
  credits->SetVisible(false);
}
