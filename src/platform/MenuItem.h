#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Object.h"
#include "platform/Ref.h"

namespace platform {

class Window;

// An entry of a menu bar: a menu when it has children, a separator when its text
// is "-", an item otherwise. Items are found by their Name.
class MenuItem : public Object {
 public:
  static const ClassInfo& Class();
  const ClassInfo& RuntimeClass() const override { return Class(); }

  MenuItem();
  ~MenuItem() override;

  virtual void Constructor() {}

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }
  bool AutoEnabled() const { return autoEnabled_; }
  void SetAutoEnabled(bool autoEnabled);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  const std::string& Text() const { return text_; }
  // An "&" marks the next letter as the access key; "-" makes a separator.
  void SetText(const std::string& text);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  const std::string& Shortcut() const { return shortcut_; }
  // "Cmd+Q": "Cmd" is the platform's command modifier, Ctrl on Linux. The empty
  // text means no shortcut.
  void SetShortcut(const std::string& shortcut);

  // Appends the item as the last child.
  void AddMenu(const Ref<MenuItem>& item);
  size_t Count() const { return children_.size(); }
  Ref<MenuItem> Item(size_t index) const;
  // The child of that name, or nil.
  Ref<MenuItem> Child(std::string_view name) const;
  // The item of that name anywhere below this one, or nil.
  Ref<MenuItem> Lookup_(std::string_view name) const;

  // Chooses the item as the user does: the front window's handler for it runs
  // first; the item's own Action runs when there is none or it did not handle the
  // choice. Answers whether the choice was handled.
  bool Choose();
  // Whether the user can choose it now, by the auto-enable rule: menus, the quit
  // item and items whose handler the front window has bound.
  bool IsEnabledFor(const Window* front) const;
  // Brings the shown state of this item and those below it up to date.
  void RefreshEnabled(const Window* front);

  struct Peer;
  Peer& MenuPeer() const { return *peer_; }

 protected:
  // The item's own handling of a choice; true when it dealt with it.
  virtual bool Event_Action() { return false; }
  virtual bool IsQuitItem() const { return false; }

 private:
  void ApplyEnabled(bool enabled);

  std::unique_ptr<Peer> peer_;
  std::string name_;
  bool autoEnabled_ = true;
  bool enabled_ = true;
  std::string text_;
  bool visible_ = true;
  std::string shortcut_;
  std::vector<Ref<MenuItem>> children_;
  std::weak_ptr<MenuItem> parent_;
};

// A menu bar: its children are the menus across its top.
class MenuBar : public MenuItem {
 public:
  static const ClassInfo& Class();
  const ClassInfo& RuntimeClass() const override { return Class(); }
};

// The item that quits: when chosen and no handler deals with it, it quits the
// application.
class QuitMenuItem : public MenuItem {
 public:
  static const ClassInfo& Class();
  const ClassInfo& RuntimeClass() const override { return Class(); }

 protected:
  bool Event_Action() override;
  bool IsQuitItem() const override { return true; }
};

// An item that the platform may place in the application's own menu.
class ApplicationMenuItem : public MenuItem {
 public:
  static const ClassInfo& Class();
  const ClassInfo& RuntimeClass() const override { return Class(); }
};

// The platform's quit action; answers whether it dealt with the choice.
bool QuitMenuAction();

}  // namespace platform
