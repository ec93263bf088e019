#include "shell/MainMenuBar.h"

#include <optional>
#include <string>

namespace shell {
namespace {

// Never destroyed, since it holds menus (see platform::RuntimeInit); the program lets
// go of the bar on its way out.
platform::Ref<MainMenuBar>& _implicitInstance = *new platform::Ref<MainMenuBar>;

// One entry of the bar. Menus hang from the bar itself; an item from the menu of
// that name, looked up afresh for every item.
template <class Item>
void AddEntry(MainMenuBar& bar, const char* parent, const std::string& name,
              const std::string& text, std::optional<std::string> shortcut) {
  auto item = platform::New<Item>();
  item->Constructor();
  item->SetName(name);
  item->SetAutoEnabled(true);
  item->SetText(text);
  item->SetVisible(true);
  if (shortcut) item->SetShortcut(*shortcut);
  if (parent) {
    bar.Child(parent)->AddMenu(item);
  } else {
    bar.AddMenu(item);
  }
}

constexpr const char* kBar = nullptr;
const std::optional<std::string> kNotSet;

}  // namespace

const platform::ClassInfo& MainMenuBar::Class() {
  static const platform::ClassInfo& info = platform::RegisterClass(
      {.name = "MainMenuBar.MainMenuBar", .base = &platform::MenuBar::Class()});
  return info;
}

void MainMenuBar::Constructor() {
  Untitled0();
  Untitled1();
  Untitled2();
}

void MainMenuBar::Untitled0() {
  using platform::MenuItem, platform::QuitMenuItem;
  AddEntry<MenuItem>(*this, kBar, "FileMenu", "&File", "");
  AddEntry<QuitMenuItem>(*this, "FileMenu", "FileQuit", "&Quit", "Cmd+Q");
}

void MainMenuBar::Untitled1() {
  using platform::MenuItem;
  AddEntry<MenuItem>(*this, kBar, "EditMenu", "&Edit", "");
  AddEntry<MenuItem>(*this, "EditMenu", "EditUndo", "&Undo", "Cmd+Z");
  AddEntry<MenuItem>(*this, "EditMenu", "EditSeparator1", "-", kNotSet);
  AddEntry<MenuItem>(*this, "EditMenu", "EditCut", "Cu&t", "Cmd+X");
  AddEntry<MenuItem>(*this, "EditMenu", "EditCopy", "&Copy", "Cmd+C");
  AddEntry<MenuItem>(*this, "EditMenu", "EditPaste", "&Paste", "Cmd+V");
  AddEntry<MenuItem>(*this, "EditMenu", "EditClear", "&Delete", "");
  AddEntry<MenuItem>(*this, "EditMenu", "EditSeparator2", "-", kNotSet);
  AddEntry<MenuItem>(*this, "EditMenu", "EditSelectAll", "Select &All", "Cmd+A");
}

void MainMenuBar::Untitled2() {
  using platform::ApplicationMenuItem, platform::MenuItem;
  AddEntry<MenuItem>(*this, kBar, "HelpMenu", "Help", "");
  AddEntry<ApplicationMenuItem>(*this, "HelpMenu", "AboutMenu", "About", "");
  AddEntry<MenuItem>(*this, "HelpMenu", "VisitWebsite", "Visit Our Website", kNotSet);
}

void ReleaseMainMenuBar() { _implicitInstance = nullptr; }

}  // namespace shell

platform::Ref<shell::MainMenuBar> MainMenuBar() {
  using shell::_implicitInstance;
  if (_implicitInstance) return _implicitInstance;
  auto bar = platform::New<shell::MainMenuBar>();
  bar->Constructor();
  _implicitInstance = bar;
  return bar;
}
