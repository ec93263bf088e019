#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Control.h"
#include "platform/Object.h"
#include "platform/Ref.h"
#include "platform/Runtime.h"
#include "platform/Value.h"

namespace platform {

class MenuBar;
class WindowWidget;

// A top-level window. A program's window class overrides the set-up events; the
// runtime builds the window when its Constructor runs and raises them in this
// order: Layout, CreateControls, AddMenuHandlers, each control's Open, then the
// window's own Open. The window shows itself after that, if it is to be visible.
class Window : public Object {
 public:
  static const ClassInfo& Class();
  const ClassInfo& RuntimeClass() const override { return Class(); }

  // The method's entry, called on the window when its menu item is chosen; true
  // when it handled the choice.
  using MenuHandler = std::function<bool(Object& window)>;

  Window();
  ~Window() override;

  // Builds the window: it becomes its class's implicit instance first, so that the
  // set-up events already find it, then they are raised. Main thread only.
  void Constructor();

  std::int64_t Left() const;
  void SetLeft(std::int64_t left);
  std::int64_t Top() const;
  void SetTop(std::int64_t top);
  std::int64_t Width() const { return width_; }
  void SetWidth(std::int64_t width);
  std::int64_t Height() const { return height_; }
  void SetHeight(std::int64_t height);
  std::string Title() const;
  void SetTitle(const std::string& title);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // The window's own menu bar, nil when it has none.
  Ref<platform::MenuBar> MenuBar() const;
  void SetMenuBar(const Ref<platform::MenuBar>& bar);
  // The bar drawn at the window's top, whose shortcuts work in it: its own, else
  // the application's when its design asks for a menu bar. Linux has no menu bar
  // outside windows, so a window without a bar of its own carries the
  // application's there.
  Ref<platform::MenuBar> ShownMenuBar() const;
  // Redraws the window, at once when asked to.
  void Refresh(bool immediately = true);
  // Closes the window as its close box does.
  void Close();

  // Design values.
  void SetMinimumWidth(std::int64_t width);
  void SetMinimumHeight(std::int64_t height);
  void SetMaximumWidth(std::int64_t width);
  void SetMaximumHeight(std::int64_t height);
  std::int64_t Type() const { return type_; }
  void SetType(std::int64_t type);
  void SetHasCloseButton(bool has);
  void SetHasMaximizeButton(bool has);
  void SetHasMinimizeButton(bool has);
  void SetHasFullScreenButton(bool has);
  bool Resizeable() const { return resizeable_; }
  void SetResizeable(bool resizeable);
  void SetFullScreen(bool fullScreen);
  // Where the window first appears: where its Left and Top put it, or centred on
  // the main screen.
  enum Location : std::int64_t { Placed = 0, CentredOnMainScreen = 2 };
  std::int64_t DefaultLocation() const { return defaultLocation_; }
  void SetDefaultLocation(std::int64_t location);
  void SetHasBackgroundColor(bool has);
  void SetBackgroundColor(Color color);
  bool MenuBarVisible() const { return menuBarVisible_; }
  void SetMenuBarVisible(bool visible);

  // The window's controls, registered by name.
  template <class C>
  Ref<C> New_();
  void AddControl_(const std::string& name, const Ref<RectControl>& control);
  Ref<RectControl> ControlByName_(std::string_view name) const;
  // The controls in keyboard focus order (by TabIndex, then creation).
  std::vector<Ref<RectControl>> FocusOrder() const;
  // Moves the keyboard focus to the next (or previous) control in that order that
  // can take it, as Tab (or Shift+Tab) does.
  bool MoveFocus(bool forward);

  void AddMenuHandler_(const std::string& itemName, MenuHandler handler);
  bool HasMenuHandler(std::string_view itemName) const;
  // Runs the handler bound to the item; false when it did not handle the choice or
  // raised.
  bool HandleMenuChoice(std::string_view itemName);

  // The window the user works in: the active one, else the one shown last. A
  // hidden window is never in front, so its menu handlers are not in force.
  static Ref<Window> FrontWindow();
  // Brings the menus' enabled state up to date for the front window.
  static void RefreshMenusForFrontWindow();

  // Events the runtime raises.
  virtual void Layout() {}
  virtual void CreateControls() {}
  virtual void AddMenuHandlers(Window&) {}
  virtual void Event_Open() {}
  virtual void Event_Close() {}

  struct Peer;
  Peer& WindowPeer() const { return *peer_; }

 private:
  friend class WindowWidget;
  // The close box has closed the window.
  void NoteClosed() { visible_ = false; }
  void ApplySize();
  void ApplyFlags();
  void ApplyVisibility();
  void ShowMenuBar();
  // Centres the window when its design says so and nothing has placed it yet.
  void CentreUnlessPlaced();

  std::unique_ptr<Peer> peer_;
  std::int64_t width_ = 100, height_ = 100;
  std::int64_t minWidth_ = 64, minHeight_ = 64, maxWidth_ = 32000, maxHeight_ = 32000;
  std::int64_t type_ = 0;
  bool hasClose_ = true, hasMaximize_ = true, hasMinimize_ = true, hasFullScreen_ = false;
  bool resizeable_ = true;
  bool fullScreen_ = false;
  std::int64_t defaultLocation_ = Placed;
  bool positioned_ = false;
  bool visible_ = false;
  bool building_ = false;
  bool hasBackground_ = false;
  Color background_{0xFFFFFF};
  bool menuBarVisible_ = true;
  Ref<platform::MenuBar> menuBar_;
  Ref<platform::MenuBar> shownBar_;
  std::vector<std::pair<std::string, Ref<RectControl>>> controls_;
  std::vector<std::pair<std::string, MenuHandler>> menuHandlers_;
};

// The single instance of a window class: the one registered under the class's
// name, or else a new one, built by its Constructor (which registers it).
template <class W>
Ref<W> ImplicitInstance() {
  Ref<Window> window = GetImplicitWindow_(W::Class().Name());
  if (!window) {
    auto created = New<W>();
    created->Constructor();
    window = created;
  }
  return RuntimeCheckCast<W>(window);
}

template <class C>
Ref<C> Window::New_() {
  auto control = New<C>();
  control->AttachTo(*this);
  return control;
}

}  // namespace platform
