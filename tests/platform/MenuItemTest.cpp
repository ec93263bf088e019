#include <gtest/gtest.h>

#include <QKeySequence>

#include "Fixtures.h"
#include "platform/MenuItem.h"
#include "platform/Runtime.h"
#include "platform/Window.h"
#include "platform/qt/MenuPeer.h"
#include "platform/qt/WindowWidget.h"

using namespace platform;
using testing_support::ProgramTest;

namespace {

Ref<MenuItem> Entry(const std::string& name, const std::string& text) {
  auto item = New<MenuItem>();
  item->SetName(name);
  item->SetText(text);
  return item;
}

QAction& ActionOf(const Ref<MenuItem>& item) { return *item->MenuPeer().action; }

}  // namespace

class MenuItemTest : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    bar = New<MenuBar>();
    file = Entry("FileMenu", "&File");
    bar->AddMenu(file);
    quit = New<QuitMenuItem>();
    quit->SetName("FileQuit");
    quit->SetText("&Quit");
    file->AddMenu(quit);
    edit = Entry("EditMenu", "&Edit");
    bar->AddMenu(edit);
    undo = Entry("EditUndo", "&Undo");
    edit->AddMenu(undo);
    separator = Entry("EditSeparator1", "-");
    edit->AddMenu(separator);
    about = Entry("AboutMenu", "About");
    edit->AddMenu(about);
  }

  Ref<MenuBar> bar;
  Ref<MenuItem> file, quit, edit, undo, separator, about;
};

TEST_F(MenuItemTest, ItemsAreFoundByNameAsChildrenOrAnywhereBelow) {
  EXPECT_EQ(bar->Count(), 2u);
  EXPECT_EQ(bar->Child("EditMenu"), edit);
  EXPECT_FALSE(bar->Child("EditUndo"));
  EXPECT_EQ(bar->Lookup_("EditUndo"), undo);
  EXPECT_EQ(bar->Lookup_("FileQuit"), quit);
  EXPECT_FALSE(bar->Lookup_("Nothing"));
  EXPECT_EQ(edit->Item(1), separator);
}

TEST_F(MenuItemTest, TextsShortcutsAndSeparatorsReachTheNativeMenu) {
  undo->SetShortcut("Cmd+Z");
  EXPECT_EQ(undo->Shortcut(), "Cmd+Z");
  EXPECT_EQ(ActionOf(undo).shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
  undo->SetShortcut("");
  EXPECT_TRUE(ActionOf(undo).shortcut().isEmpty());
  EXPECT_TRUE(ActionOf(separator).isSeparator());
  EXPECT_FALSE(ActionOf(undo).isSeparator());
  EXPECT_EQ(ActionOf(file).text(), "&File");
  ASSERT_NE(ActionOf(edit).menu(), nullptr);
  EXPECT_EQ(ActionOf(edit).menu()->actions().size(), 3);
}

TEST_F(MenuItemTest, EnabledAreMenusTheQuitItemAndItemsWithAHandler) {
  auto window = New<Window>();
  window->SetMenuBar(bar);
  window->AddMenuHandler_("AboutMenu", [](Object&) { return true; });
  EXPECT_TRUE(ActionOf(file).isEnabled());
  EXPECT_TRUE(ActionOf(quit).isEnabled());
  EXPECT_TRUE(ActionOf(about).isEnabled());
  EXPECT_FALSE(ActionOf(undo).isEnabled());
}

TEST_F(MenuItemTest, TheFrontWindowsHandlerRunsFirstAndItsAnswerCounts) {
  auto window = New<Window>();
  window->SetMenuBar(bar);
  window->SetVisible(true);
  int calls = 0;
  bool answer = true;
  window->AddMenuHandler_("FileQuit", [&](Object& w) {
    EXPECT_EQ(&w, window.get());
    ++calls;
    return answer;
  });

  EXPECT_TRUE(quit->Choose());
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(QuitRequested());

  // A handler that does not handle the choice leaves it to the item: Quit quits.
  answer = false;
  EXPECT_TRUE(quit->Choose());
  EXPECT_EQ(calls, 2);
  EXPECT_TRUE(QuitRequested());
  EXPECT_EQ(ExitStatus(), 0);
  window->SetVisible(false);
}

TEST_F(MenuItemTest, AWindowKeepsTheShortcutsOfTheBarItShowsOnly) {
  quit->SetShortcut("Cmd+Q");
  auto window = New<Window>();
  window->SetMenuBar(bar);
  auto& widget = *window->WindowPeer().widget;
  EXPECT_TRUE(widget.actions().contains(&ActionOf(quit)));
  window->SetMenuBar(nullptr);
  EXPECT_FALSE(widget.actions().contains(&ActionOf(quit)));
}

TEST_F(MenuItemTest, AnItemWithoutHandlerDoesNothing) {
  EXPECT_FALSE(undo->Choose());
  EXPECT_FALSE(QuitRequested());
  EXPECT_TRUE(reports.empty());
}
