#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <cstdio>

#include "Fixtures.h"
#include "fortune/WinMain.h"
#include "platform/qt/CanvasWidget.h"
#include "platform/qt/ControlPeer.h"
#include "platform/qt/WindowWidget.h"
#include "shell/MainMenuBar.h"

using namespace platform;
using testing_support::Click;

namespace {

QWidget& WidgetOf(const Ref<RectControl>& control) { return *control->ControlPeer().widget; }

// What the user reads on a control.
std::string ShownText(const QWidget& widget) {
  if (const auto* label = qobject_cast<const QLabel*>(&widget)) return label->text().toStdString();
  if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
    return button->text().toStdString();
  }
  return "";
}

// The font a control's text is drawn in, and for a label where its lines start.
std::string FontShown(const QWidget& widget) {
  const QFont font = widget.font();
  const QFont system = QApplication::font();
  std::string shown = font.families().value(0) == system.families().value(0)
                          ? "system"
                          : font.families().value(0).toStdString();
  shown += font.pixelSize() > 0 ? " " + std::to_string(font.pixelSize()) + "px" : " default size";
  if (font.bold()) shown += " bold";
  if (font.italic()) shown += " italic";
  if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
    shown += label->alignment() & Qt::AlignHCenter ? ", centred" : ", from the left";
    if (label->wordWrap()) shown += ", wrapped";
  }
  return shown;
}

}  // namespace

class WinMainLayoutTest : public testing_support::StartedProgramTest {};

TEST_F(WinMainLayoutTest, TheWindowIsAFixedCentredDocumentWindowUnderTheSharedMenuBar) {
  auto& widget = *window->WindowPeer().widget;
  EXPECT_TRUE(reports.empty());
  EXPECT_EQ(window->Width(), 600);
  EXPECT_EQ(window->Height(), 400);
  EXPECT_EQ(widget.Content()->size(), QSize(600, 400));
  EXPECT_EQ(widget.minimumSize(), widget.maximumSize());
  EXPECT_FALSE(widget.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(widget.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(widget.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_EQ(window->MenuBar(), MainMenuBar());
  EXPECT_TRUE(widget.menuBar()->isVisible());
  const QPoint offCentre = widget.frameGeometry().center() -
                           QGuiApplication::primaryScreen()->availableGeometry().center();
  EXPECT_LE(offCentre.manhattanLength(), 2);
}

TEST_F(WinMainLayoutTest, EachControlStandsWhereTheDesignPutsItAndSaysWhatItShould) {
  std::vector<std::string> shown;
  for (const auto& control : window->FocusOrder()) {
    const QWidget& widget = WidgetOf(control);
    const QRect r = widget.geometry();
    char place[64];
    std::snprintf(place, sizeof place, " %d,%d %dx%d", r.x(), r.y(), r.width(), r.height());
    shown.push_back(control->Name() + place + " \"" + ShownText(widget) + "\"" +
                    (widget.isVisible() && widget.isEnabled() ? "" : " (hidden or disabled)"));
  }
  EXPECT_EQ(shown, (std::vector<std::string>{
                       "lbl_Copyright 20,331 560x38 \"" + window->Copyright + "\"",
                       "btn_VisitWebsite 118,369 173x20 \"Click to Visit Website\"",
                       "lbl_instructions2 189,50 278x32 \"With Many New Responses!\"",
                       "lbl_Instructions 40,15 553x45 "
                       "\"I'm the Orbivane. Speak Your Question and Click Shake!\"",
                       // One blank, not an empty text, until the first answer.
                       "lResponse 12,305 576x29 \" \"",
                       "ShakeOrbivane 189,250 228x38 \"Click to Shake The Ball\"",
                       "Canvas1 235,94 162x144 \"\"",
                       "btn_quit 303,369 172x20 \"Quit\"",
                   }));
}

TEST_F(WinMainLayoutTest, TextsAreDrawnInTheirDesignFonts) {
  std::vector<std::string> fonts;
  for (const auto& control : window->FocusOrder()) {
    if (control->Name() != "Canvas1") {
      fonts.push_back(control->Name() + ": " + FontShown(WidgetOf(control)));
    }
  }
  EXPECT_EQ(fonts, (std::vector<std::string>{
                       "lbl_Copyright: Verdana 12px bold italic, centred",
                       "btn_VisitWebsite: system default size",
                       "lbl_instructions2: system 20px, from the left",
                       "lbl_Instructions: system 20px, from the left",
                       "lResponse: system 20px bold italic, centred",
                       "ShakeOrbivane: system 18px bold",
                       "btn_quit: system default size",
                   }));
}

TEST_F(WinMainLayoutTest, NothingLiesOverTheButtonsOrTheBall) {
  QWidget* content = window->WindowPeer().widget->Content();
  for (const auto& control :
       {Ref<RectControl>(window->btn_VisitWebsite()), Ref<RectControl>(window->ShakeOrbivane()),
        Ref<RectControl>(window->Canvas1()), Ref<RectControl>(window->btn_quit())}) {
    QWidget& widget = WidgetOf(control);
    const QRect inside = widget.geometry().adjusted(1, 1, -1, -1);
    for (const QPoint at : {inside.center(), inside.topLeft(), inside.topRight(),
                            inside.bottomLeft(), inside.bottomRight()}) {
      const QWidget* hit = content->childAt(at);
      EXPECT_TRUE(hit == &widget || widget.isAncestorOf(hit))
          << control->Name() << " at " << at.x() << "," << at.y() << " is covered by "
          << (hit ? hit->metaObject()->className() : "nothing");
    }
  }
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
