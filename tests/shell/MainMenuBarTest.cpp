#include <gtest/gtest.h>

#include <thread>

#include "Fixtures.h"
#include "platform/Runtime.h"
#include "platform/qt/MenuPeer.h"
#include "shell/MainMenuBar.h"

using platform::ApplicationMenuItem, platform::MenuItem, platform::QuitMenuItem;
using testing_support::ProgramTest;

namespace {

std::vector<std::string> ChildNames(const platform::Ref<MenuItem>& item) {
  std::vector<std::string> names;
  for (size_t i = 0; i < item->Count(); ++i) names.push_back(item->Item(i)->Name());
  return names;
}

size_t Entries(const platform::Ref<MenuItem>& item) {
  size_t count = 0;
  for (size_t i = 0; i < item->Count(); ++i) count += 1 + Entries(item->Item(i));
  return count;
}

}  // namespace

class MainMenuBarTest : public ProgramTest {};

TEST_F(MainMenuBarTest, ThreeMenusWithFourteenEntriesInOrder) {
  const auto bar = MainMenuBar();
  EXPECT_EQ(ChildNames(bar), (std::vector<std::string>{"FileMenu", "EditMenu", "HelpMenu"}));
  EXPECT_EQ(ChildNames(bar->Child("FileMenu")), std::vector<std::string>{"FileQuit"});
  EXPECT_EQ(
      ChildNames(bar->Child("EditMenu")),
      (std::vector<std::string>{"EditUndo", "EditSeparator1", "EditCut", "EditCopy", "EditPaste",
                                "EditClear", "EditSeparator2", "EditSelectAll"}));
  EXPECT_EQ(ChildNames(bar->Child("HelpMenu")),
            (std::vector<std::string>{"AboutMenu", "VisitWebsite"}));
  EXPECT_EQ(Entries(bar), 14u);
  // A second call gives the same bar, unchanged.
  EXPECT_EQ(MainMenuBar(), bar);
  EXPECT_EQ(Entries(MainMenuBar()), 14u);
}

TEST_F(MainMenuBarTest, EntriesHaveTheirTextsShortcutsClassesAndFlags) {
  struct Expected {
    const char* name;
    const char* text;
    const char* shortcut;
  };
  const Expected table[] = {
      {"FileMenu", "&File", ""},
      {"FileQuit", "&Quit", "Cmd+Q"},
      {"EditMenu", "&Edit", ""},
      {"EditUndo", "&Undo", "Cmd+Z"},
      {"EditSeparator1", "-", ""},
      {"EditCut", "Cu&t", "Cmd+X"},
      {"EditCopy", "&Copy", "Cmd+C"},
      {"EditPaste", "&Paste", "Cmd+V"},
      {"EditClear", "&Delete", ""},
      {"EditSeparator2", "-", ""},
      {"EditSelectAll", "Select &All", "Cmd+A"},
      {"HelpMenu", "Help", ""},
      {"AboutMenu", "About", ""},
      {"VisitWebsite", "Visit Our Website", ""},
  };
  const auto bar = MainMenuBar();
  for (const auto& e : table) {
    const auto item = bar->Lookup_(e.name);
    ASSERT_TRUE(item) << e.name;
    EXPECT_EQ(item->Text(), e.text) << e.name;
    EXPECT_EQ(item->Shortcut(), e.shortcut) << e.name;
    EXPECT_TRUE(item->AutoEnabled()) << e.name;
    EXPECT_TRUE(item->Visible()) << e.name;
    EXPECT_FALSE(item->MenuPeer().action->isCheckable()) << e.name;
    const std::string cls = item->RuntimeClass().Name();
    const std::string expected = std::string(e.name) == "FileQuit"    ? "QuitMenuItem"
                                 : std::string(e.name) == "AboutMenu" ? "ApplicationMenuItem"
                                                                      : "MenuItem";
    EXPECT_EQ(cls, expected) << e.name;
  }
  EXPECT_EQ(bar->Lookup_("FileQuit")->MenuPeer().action->shortcut(),
            QKeySequence(Qt::CTRL | Qt::Key_Q));
  EXPECT_TRUE(bar->Lookup_("EditSeparator2")->MenuPeer().action->isSeparator());
}

// A build that fails keeps no bar: the next call builds a whole one afresh.
TEST_F(MainMenuBarTest, AFailedBuildLeavesNoBarBehind) {
  std::string raised;
  std::thread builder([&] {
    try {
      MainMenuBar();
    } catch (const platform::RuntimeException& e) {
      raised = e.ClassName();
    }
  });
  builder.join();
  EXPECT_EQ(raised, "ThreadAccessingUIException");
  const auto bar = MainMenuBar();
  EXPECT_EQ(Entries(bar), 14u);
}
