#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QTest>

#include "Fixtures.h"
#include "credits/Credits.h"
#include "credits/CreditsText.h"
#include "fortune/WinMain.h"
#include "platform/MenuItem.h"
#include "platform/Runtime.h"
#include "platform/qt/ControlPeer.h"
#include "platform/qt/MenuPeer.h"
#include "platform/qt/WindowWidget.h"
#include "shell/App.h"
#include "shell/MainMenuBar.h"

using namespace platform;
using testing_support::Click;
using testing_support::ProgramTest;

class CreditsTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    StartProgram();
  }
  void TearDown() override {
    if (GetImplicitWindow_("Credits.Credits")) Credits()->SetVisible(false);
    ProgramTest::TearDown();
  }
};

TEST_F(CreditsTest, TheWindowIsBuiltHiddenOnceAndShownByTheHandOver) {
  const auto credits = Credits();
  EXPECT_FALSE(credits->Visible());
  EXPECT_FALSE(credits->WindowPeer().widget->isVisible());
  EXPECT_EQ(Credits(), credits);
  EXPECT_EQ(credits->FocusOrder().size(), 5u);

  App()->QuitApp();
  EXPECT_EQ(Credits(), credits);
  EXPECT_TRUE(credits->WindowPeer().widget->isVisible());
  EXPECT_EQ(credits->FocusOrder().size(), 5u);
}

TEST_F(CreditsTest, AFixedCentredWindowTitledCredits) {
  const auto credits = Credits();
  auto& widget = *credits->WindowPeer().widget;
  EXPECT_EQ(credits->Title(), "Credits");
  EXPECT_EQ(widget.Content()->size(), QSize(830, 618));
  EXPECT_EQ(widget.minimumSize(), widget.maximumSize());
  EXPECT_TRUE(widget.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(widget.windowFlags() &
               (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_FALSE(credits->MenuBar());
  EXPECT_EQ(credits->DefaultLocation(), Window::CentredOnMainScreen);
}

TEST_F(CreditsTest, TheTextIsByteForByteFourParagraphsInBoldItalic) {
  const auto label = Credits()->lbl_credits();
  const std::string& text = label->Text();
  EXPECT_EQ(text, credits::kCreditsText);
  EXPECT_EQ(text.size(), 543u);
  EXPECT_EQ(text.find('\n'), std::string::npos);
  EXPECT_TRUE(text.starts_with("Thank you for using free software from Tarnwick\r\r"));
  EXPECT_NE(text.find("share  it"), std::string::npos);
  EXPECT_NE(text.find("interest. \r\r"), std::string::npos);
  EXPECT_TRUE(text.ends_with("welcome."));

  // Paragraphs of 47, 183, 228 and 79 bytes between three double carriage returns.
  std::vector<size_t> lengths;
  size_t start = 0;
  for (size_t at; (at = text.find("\r\r", start)) != std::string::npos; start = at + 2) {
    lengths.push_back(at - start);
  }
  lengths.push_back(text.size() - start);
  EXPECT_EQ(lengths, (std::vector<size_t>{47, 183, 228, 79}));
  for (unsigned char c : text) EXPECT_TRUE(c == '\r' || (c >= 0x20 && c < 0x7F));

  EXPECT_TRUE(label->MultiLine());
  EXPECT_FALSE(label->Selectable());
  EXPECT_EQ(label->TextAlignment(), Label::AlignCentre);
  EXPECT_TRUE(label->Bold() && label->Italic());
  EXPECT_EQ(label->FontSize(), 16);
  EXPECT_EQ(label->FontName(), "verdena");
  EXPECT_EQ(label->TextColor(), Color{0});
  EXPECT_FALSE(label->Transparent());
  EXPECT_EQ(static_cast<QLabel&>(*label->ControlPeer().widget).text().count('\n'), 6);
}

TEST_F(CreditsTest, TabOrderRunsFromTheTextToContactUs) {
  std::vector<std::string> names;
  for (const auto& control : Credits()->FocusOrder()) names.push_back(control->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"lbl_credits", "Canvas1", "btn_VisitOurWebsite",
                                             "btn_exit", "btn_contactUs"}));
  EXPECT_EQ(Credits()->Canvas1()->Backdrop()->Description(), "Tarnwick logo");
  App()->QuitApp();
  EXPECT_EQ(testing_support::TabThrough(Credits(), 3),
            (std::vector<std::string>{"btn_VisitOurWebsite", "btn_exit", "btn_contactUs"}));
}

TEST_F(CreditsTest, TheLinksOpenTheMainWindowsAddressesAsTheyStandAtTheClick) {
  const auto credits = Credits();
  Click(credits->Canvas1(), 100, 50);
  credits->btn_VisitOurWebsite()->Push();
  credits->btn_contactUs()->Push();
  WinMain()->WebsiteURL = "https://second.example/";
  credits->btn_VisitOurWebsite()->Push();
  EXPECT_EQ(effects->urls, (std::vector<std::string>{"https://www.tarnwick.example/freeforfun",
                                                     "https://www.tarnwick.example/freeforfun",
                                                     "https://www.tarnwick.example/write-us-now",
                                                     "https://second.example/"}));
  EXPECT_FALSE(credits->Canvas1_MouseDown(*credits->Canvas1(), 0, 0));
  EXPECT_FALSE(QuitRequested());
}

TEST_F(CreditsTest, ExitEndsTheProgramWithStatusZero) {
  Credits()->btn_exit()->Push();
  EXPECT_TRUE(QuitRequested());
  EXPECT_EQ(ExitStatus(), 0);
}

TEST_F(CreditsTest, TheCloseBoxClosesOnlyTheCreditsWindow) {
  App()->QuitApp();
  Credits()->Close();
  EXPECT_FALSE(Credits()->WindowPeer().widget->isVisible());
  EXPECT_FALSE(WinMain()->Visible());
  EXPECT_FALSE(QuitRequested());
  EXPECT_TRUE(effects->urls.empty());
  EXPECT_TRUE(reports.empty());
}

TEST_F(CreditsTest, AnswersForTheTwoEventsItHandles) {
  const auto credits = Credits();
  EXPECT_TRUE(credits->IsEventImplemented("CreateControls"));
  EXPECT_TRUE(credits->IsEventImplemented("Layout"));
  for (const char* other : {"Open", "Close", "CancelClose", "Activate", "AddMenuHandlers"}) {
    EXPECT_FALSE(credits->IsEventImplemented(other)) << other;
  }
}

TEST_F(CreditsTest, AfterTheHandOverItShowsTheApplicationsBarAboveItsDesign) {
  App()->QuitApp();
  const auto credits = Credits();
  auto& widget = *credits->WindowPeer().widget;
  EXPECT_FALSE(credits->MenuBar());
  EXPECT_EQ(credits->ShownMenuBar(), MainMenuBar());
  auto* view = qobject_cast<QMenuBar*>(widget.menuWidget());
  ASSERT_NE(view, nullptr);
  QStringList menus;
  for (QAction* menu : view->actions()) menus << menu->text();
  EXPECT_EQ(menus, (QStringList{"&File", "&Edit", "Help"}));

  EXPECT_EQ(widget.Content()->size(), QSize(830, 618));
  EXPECT_EQ(widget.height(), 618 + view->height());
  EXPECT_EQ(credits->btn_exit()->ControlPeer().widget->geometry(), QRect(375, 565, 80, 20));
  EXPECT_EQ(credits->Canvas1()->ControlPeer().widget->geometry(), QRect(275, 0, 280, 167));
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_LE(std::abs(widget.frameGeometry().center().x() - screen.center().x()), 1);
  EXPECT_LE(std::abs(widget.frameGeometry().center().y() - screen.center().y()), 1);
}

// The hidden main window is not in front, so its handlers are not in force: About
// and Visit Our Website stay disabled, and choosing them anyway does nothing.
TEST_F(CreditsTest, InItsBarOnlyTheMenusAndQuitAreEnabledAndCtrlQQuits) {
  App()->QuitApp();
  EXPECT_EQ(Window::FrontWindow(), Credits());
  const auto bar = MainMenuBar();
  for (const char* name : {"FileMenu", "EditMenu", "HelpMenu", "FileQuit"}) {
    EXPECT_TRUE(bar->Lookup_(name)->MenuPeer().action->isEnabled()) << name;
  }
  for (const char* name : {"AboutMenu", "VisitWebsite", "EditUndo", "EditSelectAll"}) {
    EXPECT_FALSE(bar->Lookup_(name)->MenuPeer().action->isEnabled()) << name;
  }
  EXPECT_FALSE(bar->Lookup_("AboutMenu")->Choose());
  EXPECT_FALSE(bar->Lookup_("VisitWebsite")->Choose());
  EXPECT_TRUE(effects->messages.empty());
  EXPECT_TRUE(effects->urls.empty());
  EXPECT_TRUE(reports.empty());
  EXPECT_FALSE(QuitRequested());

  // Ctrl+Q there quits with status 0.
  auto& widget = *Credits()->WindowPeer().widget;
  widget.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&widget));
  QTest::keyClick(&widget, Qt::Key_Q, Qt::ControlModifier);
  EXPECT_TRUE(QuitRequested());
  EXPECT_EQ(ExitStatus(), 0);
}
