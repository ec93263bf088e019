#include <gtest/gtest.h>

#include <QLabel>
#include <QMenuBar>
#include <QPushButton>

#include "Fixtures.h"
#include "fortune/WinMain.h"
#include "fortune/WinMainDesign.h"
#include "platform/DesignList.h"
#include "platform/qt/CanvasWidget.h"
#include "platform/qt/ControlPeer.h"
#include "platform/qt/WindowWidget.h"
#include "shell/MainMenuBar.h"

using namespace platform;
using testing_support::Click;
using testing_support::ProgramTest;

namespace {

std::string Head(DesignList list, size_t n) { return std::string(list.substr(0, n)); }

// The names of a list's entries, read by the entry layout of its kind.
size_t CountEntries(DesignList list, const ClassInfo& cls) {
  size_t entries = 0, at = 0;
  while (at < list.size()) {
    const size_t blank = list.find(' ', at);
    const auto* property = cls.FindProperty(list.substr(at, blank - at));
    if (!property) return 0;
    at = blank + 1;
    switch (property->type) {
      case ValueType::Integer:
        at += 8;
        break;
      case ValueType::Boolean:
      case ValueType::FontUnit:
        at += 1;
        break;
      case ValueType::Single:
      case ValueType::Color:
        at += 4;
        break;
      case ValueType::String: {
        std::uint32_t n = 0;
        for (int i = 0; i < 4; ++i) n |= std::uint32_t(std::uint8_t(list[at + i])) << (8 * i);
        at += 4 + n;
      }
    }
    ++entries;
  }
  return at == list.size() ? entries : 0;
}

}  // namespace

TEST(WinMainDesign, ListsAreByteExact) {
  namespace d = fortune::design;
  const DesignList quit = AsDesignList(d::kBtnQuit);
  EXPECT_EQ(Head(quit, 31),
            std::string("Name \x08\0\0\0btn_quitIndex \0\0\0\x80\xFF\xFF\xFF\xFF", 31));
  EXPECT_EQ(quit.substr(31, 13), std::string_view("Left \x2F\x01\0\0\0\0\0\0", 13));

  const DesignList response = AsDesignList(d::kLResponse);
  EXPECT_NE(response.find(std::string_view("Text \x01\0\0\0 ", 10)), DesignList::npos);
  EXPECT_NE(response.find(std::string_view("FontSize \0\0\xA0\x41", 13)), DesignList::npos);

  const DesignList window = AsDesignList(d::kWinMain);
  EXPECT_EQ(window.substr(window.size() - 16), std::string_view("MenuBarVisible \x01", 16));
  EXPECT_EQ(quit.substr(quit.size() - 18), std::string_view("InitialParent \0\0\0\0", 18));

  EXPECT_EQ(CountEntries(window, Window::Class()), 21u);
  EXPECT_EQ(CountEntries(AsDesignList(d::kLblCopyright), Label::Class()), 32u);
  EXPECT_EQ(CountEntries(response, Label::Class()), 32u);
  EXPECT_EQ(CountEntries(quit, PushButton::Class()), 29u);
  EXPECT_EQ(CountEntries(AsDesignList(d::kShakeOrbivane), PushButton::Class()), 29u);
  EXPECT_EQ(CountEntries(AsDesignList(d::kCanvas1), Canvas::Class()), 24u);
}

class WinMainLayoutTest : public testing_support::StartedProgramTest {};

TEST_F(WinMainLayoutTest, TheWindowIsAFixedCentredDocumentWindowUnderTheSharedMenuBar) {
  auto& widget = *window->WindowPeer().widget;
  EXPECT_EQ(window->Width(), 600);
  EXPECT_EQ(window->Height(), 400);
  EXPECT_EQ(widget.Content()->size(), QSize(600, 400));
  EXPECT_EQ(widget.minimumSize(), widget.maximumSize());
  EXPECT_FALSE(widget.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(widget.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(widget.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_EQ(window->MenuBar(), MainMenuBar());
  EXPECT_TRUE(widget.menuBar()->isVisible());
  EXPECT_EQ(window->DefaultLocation(), Window::CentredOnMainScreen);
}

TEST_F(WinMainLayoutTest, EveryControlIsFoundByNameWithItsDesign) {
  struct Expected {
    const char* name;
    const char* cls;
    int left, top, width, height;
    std::int64_t tabIndex;
  };
  const Expected table[] = {
      {"lbl_Copyright", "Label", 20, 331, 560, 38, 0},
      {"btn_VisitWebsite", "PushButton", 118, 369, 173, 20, 1},
      {"lbl_instructions2", "Label", 189, 50, 278, 32, 4},
      {"lbl_Instructions", "Label", 40, 15, 553, 45, 5},
      {"lResponse", "Label", 12, 305, 576, 29, 6},
      {"ShakeOrbivane", "PushButton", 189, 250, 228, 38, 7},
      {"Canvas1", "Canvas", 235, 94, 162, 144, 8},
      {"btn_quit", "PushButton", 303, 369, 172, 20, 9},
  };
  for (const auto& e : table) {
    const auto control = window->ControlByName_(e.name);
    ASSERT_TRUE(control) << e.name;
    EXPECT_EQ(control->RuntimeClass().Name(), e.cls) << e.name;
    EXPECT_EQ(control->Name(), e.name);
    EXPECT_EQ(QRect(control->Left(), control->Top(), control->Width(), control->Height()),
              QRect(e.left, e.top, e.width, e.height))
        << e.name;
    EXPECT_EQ(control->TabIndex(), e.tabIndex) << e.name;
    EXPECT_TRUE(control->Enabled() && control->Visible() && control->TabStop()) << e.name;
    EXPECT_EQ(std::get<std::int64_t>(*control->StoredValue("Index")), -2147483648LL) << e.name;
    EXPECT_TRUE(std::get<bool>(*control->StoredValue("LockLeft"))) << e.name;
    EXPECT_FALSE(std::get<bool>(*control->StoredValue("LockBottom"))) << e.name;
  }

  EXPECT_EQ(window->lbl_Instructions()->Text(),
            "I'm the Orbivane. Speak Your Question and Click Shake!");
  EXPECT_EQ(window->lbl_instructions2()->Text(), "With Many New Responses!");
  EXPECT_EQ(window->lResponse()->Text(), " ");
  EXPECT_EQ(window->ShakeOrbivane()->Caption(), "Click to Shake The Ball");
  EXPECT_EQ(window->btn_VisitWebsite()->Caption(), "Click to Visit Website");
  EXPECT_EQ(window->btn_quit()->Caption(), "Quit");

  const auto copyright = window->lbl_Copyright();
  EXPECT_EQ(copyright->FontName(), "Verdana");
  EXPECT_EQ(copyright->FontSize(), 12);
  EXPECT_TRUE(copyright->Bold() && copyright->Italic());
  EXPECT_EQ(copyright->TextAlignment(), Label::AlignCentre);
  const auto response = window->lResponse();
  EXPECT_TRUE(response->Bold() && response->Italic());
  EXPECT_EQ(response->FontSize(), 20);
  EXPECT_EQ(response->TextAlignment(), Label::AlignCentre);
  EXPECT_EQ(window->lbl_Instructions()->TextAlignment(), Label::AlignDefault);
  EXPECT_FALSE(window->lbl_Instructions()->MultiLine());
  EXPECT_TRUE(window->ShakeOrbivane()->Bold());
  EXPECT_EQ(window->ShakeOrbivane()->FontSize(), 18);
  EXPECT_EQ(window->btn_quit()->FontSize(), 0);
  EXPECT_FALSE(window->btn_quit()->Default() || window->btn_quit()->Cancel());
}

TEST_F(WinMainLayoutTest, TheBallIsATransparentCanvasShowingTheBallPicture) {
  const auto canvas = window->Canvas1();
  ASSERT_TRUE(canvas->Backdrop());
  EXPECT_EQ(canvas->Backdrop()->Width(), 162);
  EXPECT_TRUE(canvas->Transparent());
  EXPECT_FALSE(canvas->AllowFocus());
  EXPECT_EQ(canvas->ControlPeer().widget->accessibleName(), "Fortune ball");
}

TEST_F(WinMainLayoutTest, KeyboardFocusFollowsTheTabIndexes) {
  std::vector<std::string> names;
  for (const auto& control : window->FocusOrder()) names.push_back(control->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"lbl_Copyright", "btn_VisitWebsite",
                                             "lbl_instructions2", "lbl_Instructions", "lResponse",
                                             "ShakeOrbivane", "Canvas1", "btn_quit"}));
  // Of them, only the buttons take the focus.
  EXPECT_EQ(testing_support::TabThrough(window, 4),
            (std::vector<std::string>{"btn_VisitWebsite", "ShakeOrbivane", "btn_quit",
                                      "btn_VisitWebsite"}));
}

TEST_F(WinMainLayoutTest, TheBoundControlsHaveHandlersAndTheOtherLabelsNone) {
  EXPECT_TRUE(window->lbl_Copyright()->HasEventHandler("MouseDown"));
  EXPECT_TRUE(window->btn_VisitWebsite()->HasEventHandler("Action"));
  EXPECT_TRUE(window->ShakeOrbivane()->HasEventHandler("Action"));
  EXPECT_TRUE(window->Canvas1()->HasEventHandler("MouseDown"));
  EXPECT_TRUE(window->Canvas1()->HasEventHandler("Open"));
  EXPECT_TRUE(window->btn_quit()->HasEventHandler("Action"));
  for (const auto& label :
       {window->lbl_instructions2(), window->lbl_Instructions(), window->lResponse()}) {
    EXPECT_FALSE(label->HasEventHandler("MouseDown")) << label->Name();
    Click(label, 5, 5);
  }
  EXPECT_TRUE(effects->urls.empty());
  EXPECT_TRUE(effects->sounds.empty());
  EXPECT_TRUE(reports.empty());
}

TEST_F(WinMainLayoutTest, TextWithCarriageReturnsShowsLineBreaksButReadsBackUnchanged) {
  const auto label = window->lResponse();
  label->SetText("one\rtwo");
  EXPECT_EQ(label->Text(), "one\rtwo");
  EXPECT_EQ(static_cast<QLabel&>(*label->ControlPeer().widget).text(), "one\ntwo");
}
