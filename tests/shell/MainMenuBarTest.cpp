#include <dlfcn.h>
#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <functional>
#include <new>
#include <thread>

#include "Fixtures.h"
#include "platform/Runtime.h"
#include "platform/qt/MenuPeer.h"
#include "platform/qt/WindowWidget.h"
#include "shell/App.h"
#include "shell/MainMenuBar.h"

using platform::MenuItem, platform::QuitRequested, platform::Ref;
using testing_support::ProgramTest, testing_support::StartedProgramTest;

// Fault injection for the build: while armed, the allocation that many allocations
// ahead throws std::bad_alloc. Only allocations made by the program's own code count:
// Qt is built without exception support, so nothing may be thrown through it.
namespace {

thread_local long allocationsUntilFailure = 0;

bool CalledFromThisExecutable(const void* caller) {
  static const void* const self = [] {
    Dl_info info{};
    dladdr(reinterpret_cast<const void*>(&CalledFromThisExecutable), &info);
    return info.dli_fbase;
  }();
  Dl_info info{};
  return dladdr(caller, &info) != 0 && info.dli_fbase == self;
}

}  // namespace

void* operator new(std::size_t size) {
  if (allocationsUntilFailure > 0 && CalledFromThisExecutable(__builtin_return_address(0)) &&
      --allocationsUntilFailure == 0) {
    throw std::bad_alloc();
  }
  // The allocator that this definition stands in front of: the C++ library's, or
  // the sanitizer's when there is one.
  static const auto next = reinterpret_cast<void* (*)(std::size_t)>(dlsym(RTLD_NEXT, "_Znwm"));
  return next(size);
}

namespace {

size_t Entries(const Ref<MenuItem>& item) {
  size_t count = 0;
  for (size_t i = 0; i < item->Count(); ++i) count += 1 + Entries(item->Item(i));
  return count;
}

void ForEachEntry(const Ref<MenuItem>& item, const std::function<void(const Ref<MenuItem>&)>& f) {
  for (size_t i = 0; i < item->Count(); ++i) {
    f(item->Item(i));
    ForEachEntry(item->Item(i), f);
  }
}

QMenuBar& BarShownIn(const Ref<platform::Window>& window) {
  return *window->WindowPeer().widget->menuBar();
}

QAction* ShownEntry(const QList<QAction*>& actions, const QString& text) {
  for (QAction* action : actions) {
    if (action->isVisible() && QString(action->text()).remove('&') == text) return action;
  }
  return nullptr;
}

// Opens the menu with the mouse and clicks the entry, as the user does. Answers
// whether both were there to be clicked.
bool ClickMenuEntry(const Ref<platform::Window>& window, const QString& menuTitle,
                    const QString& entryText) {
  QMenuBar& bar = BarShownIn(window);
  QAction* title = ShownEntry(bar.actions(), menuTitle);
  if (!title || !title->menu()) return false;
  QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.actionGeometry(title).center());
  QMenu& menu = *title->menu();
  if (!QTest::qWaitFor([&] { return menu.isVisible(); })) return false;
  QAction* entry = ShownEntry(menu.actions(), entryText);
  if (!entry) {
    menu.close();
    return false;
  }
  QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(entry).center());
  return true;
}

}  // namespace

class MainMenuBarTest : public ProgramTest {};
class MainMenuBarInTheWindowTest : public StartedProgramTest {};

TEST_F(MainMenuBarInTheWindowTest, TheUserReadsFileEditAndHelpWithTheirEntries) {
  // Each menu as its popup shows it: access keys marked with "&", separators as "|".
  std::string shown;
  for (QAction* menu : BarShownIn(window).actions()) {
    if (!menu->isVisible()) continue;
    shown += menu->text().toStdString() + ":";
    bool afterEntry = false;
    for (QAction* entry : menu->menu() ? menu->menu()->actions() : QList<QAction*>()) {
      if (!entry->isVisible()) continue;
      shown +=
          entry->isSeparator() ? " |" : (afterEntry ? ", " : " ") + entry->text().toStdString();
      afterEntry = !entry->isSeparator();
    }
    shown += "\n";
  }
  EXPECT_EQ(shown,
            "&File: &Quit\n"
            "&Edit: &Undo | Cu&t, &Copy, &Paste, &Delete | Select &All\n"
            "Help: About, Visit Our Website\n");
  // The application and the window show one and the same bar, built once.
  EXPECT_EQ(MainMenuBar(), App()->MenuBar());
  EXPECT_EQ(MainMenuBar(), window->MenuBar());
  EXPECT_EQ(Entries(MainMenuBar()), 14u);
}

TEST_F(MainMenuBarInTheWindowTest, EachShortcutKeyRunsItsOwnEntryInTheWindow) {
  // The Edit entries run nothing of the program's own; handlers bound here by their
  // names show which entry a key reaches.
  std::vector<std::string> ran;
  ForEachEntry(MainMenuBar(), [&](const Ref<MenuItem>& entry) {
    window->AddMenuHandler_(entry->Name(), [&ran, name = entry->Name()](platform::Object&) {
      ran.push_back(name);
      return true;
    });
  });
  QWidget& widget = *window->WindowPeer().widget;
  widget.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&widget));

  std::vector<std::string> reached;
  for (const Qt::Key key : {Qt::Key_Z, Qt::Key_X, Qt::Key_C, Qt::Key_V, Qt::Key_A}) {
    ran.clear();
    QTest::keyClick(&widget, key, Qt::ControlModifier);
    reached.push_back(ran.size() == 1 ? ran[0] : std::to_string(ran.size()) + " entries");
  }
  EXPECT_EQ(reached, (std::vector<std::string>{"EditUndo", "EditCut", "EditCopy", "EditPaste",
                                               "EditSelectAll"}));
  // The window's own Quit handler was bound first, and it quits.
  EXPECT_FALSE(QuitRequested());
  QTest::keyClick(&widget, Qt::Key_Q, Qt::ControlModifier);
  EXPECT_TRUE(QuitRequested());
  EXPECT_TRUE(reports.empty());
}

TEST_F(MainMenuBarInTheWindowTest, TheEntriesTheWindowHandlesAreClickableAndRunItsHandlers) {
  ASSERT_TRUE(ClickMenuEntry(window, "Help", "About"));
  EXPECT_EQ(effects->messages, std::vector<std::string>{"Orbivane 1.0"});
  ASSERT_TRUE(ClickMenuEntry(window, "Help", "Visit Our Website"));
  EXPECT_EQ(effects->urls.size(), 1u);
  ASSERT_TRUE(ClickMenuEntry(window, "File", "Quit"));
  EXPECT_TRUE(QuitRequested());
  EXPECT_EQ(effects->messages.size(), 1u);
  EXPECT_EQ(effects->urls.size(), 1u);
  EXPECT_TRUE(reports.empty());
}

TEST_F(MainMenuBarTest, EveryEntryIsFoundByItsOwnNameAndTwoStandApartByClass) {
  const auto bar = MainMenuBar();
  std::vector<std::string> quitting, forTheApplicationMenu;
  ForEachEntry(bar, [&](const Ref<MenuItem>& entry) {
    // Handlers bind by name: a name used twice would bind the first entry only.
    EXPECT_EQ(bar->Lookup_(entry->Name()), entry) << entry->Name();
    const auto& cls = entry->RuntimeClass();
    if (cls.IsKindOf(platform::QuitMenuItem::Class())) quitting.push_back(entry->Name());
    if (cls.IsKindOf(platform::ApplicationMenuItem::Class())) {
      forTheApplicationMenu.push_back(entry->Name());
    }
  });
  // Quit quits on its own when no window handles it; About is the entry that a
  // platform may move to the application's own menu.
  EXPECT_EQ(quitting, std::vector<std::string>{"FileQuit"});
  EXPECT_EQ(forTheApplicationMenu, std::vector<std::string>{"AboutMenu"});
}

// A build that fails part-way keeps nothing: the next call builds a whole bar afresh,
// not one that ends where the failure struck. Every allocation of the build fails
// in turn, from the bar's own to the last entry's.
TEST_F(MainMenuBarTest, ABuildThatFailsPartWayLeavesNoBarBehind) {
  const size_t whole = Entries(MainMenuBar());
  shell::ReleaseMainMenuBar();
  long failures = 0;
  for (long failAt = 1;; ++failAt) {
    allocationsUntilFailure = failAt;
    bool failed = false;
    try {
      MainMenuBar();
    } catch (const std::bad_alloc&) {
      failed = true;
    }
    allocationsUntilFailure = 0;
    if (!failed) break;
    ++failures;
    EXPECT_EQ(Entries(MainMenuBar()), whole) << "after a failure at allocation " << failAt;
    shell::ReleaseMainMenuBar();
  }
  // At least one failure within each entry's making.
  EXPECT_GT(failures, long(whole));
}

TEST_F(MainMenuBarTest, AnotherThreadCannotBuildTheBar) {
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
  EXPECT_EQ(Entries(MainMenuBar()), 14u);
}
