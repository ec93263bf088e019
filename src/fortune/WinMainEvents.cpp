#include <string_view>

#include "fortune/WinMain.h"
#include "platform/Runtime.h"
#include "platform/System.h"
#include "shell/App.h"

namespace fortune {

using platform::ApplicationMenuItem, platform::MenuItem, platform::QuitMenuItem, platform::Ref;

namespace {

constexpr char kAppName[] = "Orbivane 1.0";
constexpr char kCopyright[] = "Copyright (c) 2026 Tarnwick. Free for fun, free to share.";
// The maker's site lives under a reserved domain, so no click can reach a stranger.
constexpr char kWebsiteURL[] = "https://www.tarnwick.example/freeforfun";
constexpr char kContactURL[] = "https://www.tarnwick.example/write-us-now";

template <class Item>
Ref<Item> MenuItemNamed(const WinMain& window, std::string_view name) {
  return platform::RuntimeCheckCast<Item>(window.MenuBar()->Lookup_(name));
}

}  // namespace

void WinMain::Event_Open() {
  ::WinMain()->AppName = kAppName;
  ::WinMain()->Copyright = kCopyright;
  ::WinMain()->ContactURL = kContactURL;
  ::WinMain()->WebsiteURL = kWebsiteURL;
  ::WinMain()->lbl_Copyright()->SetValue(Copyright);
  ::WinMain()->SetTitle(AppName);
}

void WinMain::Event_Close() { App()->QuitApp(); }

bool WinMain::lbl_Copyright_MouseDown(platform::Label&, std::int64_t, std::int64_t) {
  platform::ShowURL(::WinMain()->WebsiteURL);
  return false;
}

void WinMain::btn_VisitWebsite_Action(platform::PushButton&) {
  platform::ShowURL(::WinMain()->WebsiteURL);
}

void WinMain::ShakeOrbivane_Action(platform::PushButton&) { ShakeIt(); }

bool WinMain::Canvas1_MouseDown(platform::Canvas&, std::int64_t, std::int64_t) {
  ShakeIt();
  return false;
}

void WinMain::Canvas1_Open(platform::Canvas&) {}

void WinMain::btn_quit_Action(platform::PushButton&) { App()->QuitApp(); }

void WinMain::AddMenuHandlers(platform::Window& w) {
  const Ref<WinMain> window = platform::RuntimeCheckCast<WinMain>(platform::RefTo(w));
  const std::pair<const char*, bool (WinMain::*)()> handlers[] = {
      {"AboutMenu", &WinMain::AboutMenu_Action_},
      {"FileQuit", &WinMain::FileQuit_Action_},
      {"VisitWebsite", &WinMain::VisitWebsite_Action_}};
  for (const auto& [item, method] : handlers) {
    // The delegate only yields the method's entry; the window calls it on itself.
    auto delegate = platform::RuntimeCreateDelegate(method, window, "(  ) as Boolean");
    AddMenuHandler_(item, delegate->FunctionEntry());
  }
}

bool WinMain::AboutMenu_Action_() {
  platform::MessageBox(::WinMain()->AppName);
  return true;
}

bool WinMain::FileQuit_Action_() {
  platform::Quit(0);
  return true;
}

bool WinMain::VisitWebsite_Action_() {
  platform::ShowURL(::WinMain()->WebsiteURL);
  return true;
}

Ref<MenuItem> WinMain::HelpMenu() { return MenuItemNamed<MenuItem>(*this, "HelpMenu"); }
Ref<MenuItem> WinMain::VisitWebsite() { return MenuItemNamed<MenuItem>(*this, "VisitWebsite"); }
Ref<ApplicationMenuItem> WinMain::AboutMenu() {
  return MenuItemNamed<ApplicationMenuItem>(*this, "AboutMenu");
}
Ref<MenuItem> WinMain::EditMenu() { return MenuItemNamed<MenuItem>(*this, "EditMenu"); }
Ref<MenuItem> WinMain::EditSelectAll() { return MenuItemNamed<MenuItem>(*this, "EditSelectAll"); }
Ref<MenuItem> WinMain::EditSeparator2() { return MenuItemNamed<MenuItem>(*this, "EditSeparator2"); }
Ref<MenuItem> WinMain::EditClear() { return MenuItemNamed<MenuItem>(*this, "EditClear"); }
Ref<MenuItem> WinMain::EditPaste() { return MenuItemNamed<MenuItem>(*this, "EditPaste"); }
Ref<MenuItem> WinMain::EditCopy() { return MenuItemNamed<MenuItem>(*this, "EditCopy"); }
Ref<MenuItem> WinMain::EditCut() { return MenuItemNamed<MenuItem>(*this, "EditCut"); }
Ref<MenuItem> WinMain::EditSeparator1() { return MenuItemNamed<MenuItem>(*this, "EditSeparator1"); }
Ref<MenuItem> WinMain::EditUndo() { return MenuItemNamed<MenuItem>(*this, "EditUndo"); }
Ref<MenuItem> WinMain::FileMenu() { return MenuItemNamed<MenuItem>(*this, "FileMenu"); }
Ref<QuitMenuItem> WinMain::FileQuit() { return MenuItemNamed<QuitMenuItem>(*this, "FileQuit"); }

}  // namespace fortune
