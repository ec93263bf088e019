#pragma once

#include <cstdint>
#include <string>

#include "platform/Canvas.h"
#include "platform/Label.h"
#include "platform/MenuItem.h"
#include "platform/PushButton.h"
#include "platform/Ref.h"
#include "platform/Window.h"

namespace fortune {

// The fortune-ball window: the instructions, the ball and its buttons, the answer
// line and the copyright line, under the application's menu bar.
class WinMain : public platform::Window {
 public:
  static const platform::ClassInfo& Class();
  const platform::ClassInfo& RuntimeClass() const override { return Class(); }

  WinMain();

  std::string Copyright;
  std::string AppName = "App Name Here";
  std::string WebsiteURL;
  std::string ContactURL;

  // Building the window.
  void Layout() override;
  void CreateControls() override;
  void CreateControls0_();

  // The controls.
  platform::Ref<platform::Label> lbl_Copyright();
  platform::Ref<platform::PushButton> btn_VisitWebsite();
  platform::Ref<platform::Label> lbl_instructions2();
  platform::Ref<platform::Label> lbl_Instructions();
  platform::Ref<platform::Label> lResponse();
  platform::Ref<platform::PushButton> ShakeOrbivane();
  platform::Ref<platform::Canvas> Canvas1();
  platform::Ref<platform::PushButton> btn_quit();

  // Control handlers.
  bool lbl_Copyright_MouseDown(platform::Label& sender, std::int64_t x, std::int64_t y);
  void btn_VisitWebsite_Action(platform::PushButton& sender);
  void ShakeOrbivane_Action(platform::PushButton& sender);
  bool Canvas1_MouseDown(platform::Canvas& sender, std::int64_t x, std::int64_t y);
  void Canvas1_Open(platform::Canvas& sender);
  void btn_quit_Action(platform::PushButton& sender);

  // The menu items, looked up by name on the window's menu bar at every call.
  platform::Ref<platform::MenuItem> HelpMenu();
  platform::Ref<platform::MenuItem> VisitWebsite();
  platform::Ref<platform::ApplicationMenuItem> AboutMenu();
  platform::Ref<platform::MenuItem> EditMenu();
  platform::Ref<platform::MenuItem> EditSelectAll();
  platform::Ref<platform::MenuItem> EditSeparator2();
  platform::Ref<platform::MenuItem> EditClear();
  platform::Ref<platform::MenuItem> EditPaste();
  platform::Ref<platform::MenuItem> EditCopy();
  platform::Ref<platform::MenuItem> EditCut();
  platform::Ref<platform::MenuItem> EditSeparator1();
  platform::Ref<platform::MenuItem> EditUndo();
  platform::Ref<platform::MenuItem> FileMenu();
  platform::Ref<platform::QuitMenuItem> FileQuit();

  // Window events.
  void AddMenuHandlers(platform::Window& w) override;
  void Event_Open() override;
  void Event_Close() override;

  // Menu handlers.
  bool AboutMenu_Action_();
  bool FileQuit_Action_();
  bool VisitWebsite_Action_();

  // Asking the ball.
  void ShakeIt();
  void ShowResult();
};

}  // namespace fortune

// The main window, built on the first call. Inside the window's own set-up
// events it already answers the window being built.
platform::Ref<fortune::WinMain> WinMain();
