#include "platform/MenuItem.h"

#include <QKeySequence>

#include "platform/Runtime.h"
#include "platform/Window.h"
#include "platform/qt/MenuPeer.h"

namespace platform {

const ClassInfo& MenuItem::Class() {
  static const ClassInfo& info = RegisterClass(
      {.name = "MenuItem", .base = &Object::Class(), .events = {{"Action", "", "Boolean"}}});
  return info;
}

const ClassInfo& MenuBar::Class() {
  static const ClassInfo& info = RegisterClass({.name = "MenuBar", .base = &MenuItem::Class()});
  return info;
}

const ClassInfo& QuitMenuItem::Class() {
  static const ClassInfo& info = RegisterClass(
      {.name = "QuitMenuItem", .base = &MenuItem::Class(), .handledEvents = {"Action"}});
  return info;
}

const ClassInfo& ApplicationMenuItem::Class() {
  static const ClassInfo& info =
      RegisterClass({.name = "ApplicationMenuItem", .base = &MenuItem::Class()});
  return info;
}

MenuItem::MenuItem() : peer_(std::make_unique<Peer>()) {
  RequireMainThread("MenuItem");
  peer_->action = std::make_unique<QAction>();
  QObject::connect(peer_->action.get(), &QAction::triggered, [this] { Choose(); });
}

MenuItem::~MenuItem() = default;

void MenuItem::SetAutoEnabled(bool autoEnabled) { autoEnabled_ = autoEnabled; }

void MenuItem::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (!autoEnabled_) ApplyEnabled(enabled);
}

void MenuItem::SetText(const std::string& text) {
  RequireMainThread("MenuItem.Text");
  text_ = text;
  const bool separator = text == "-";
  // A separator's text would be drawn beside its line.
  peer_->action->setText(separator ? QString() : QString::fromStdString(text));
  peer_->action->setSeparator(separator);
}

void MenuItem::SetVisible(bool visible) {
  visible_ = visible;
  peer_->action->setVisible(visible);
}

void MenuItem::SetShortcut(const std::string& shortcut) {
  RequireMainThread("MenuItem.Shortcut");
  shortcut_ = shortcut;
  QString keys = QString::fromStdString(shortcut);
  // Qt's "Ctrl" is the command key on macOS and Ctrl elsewhere.
  keys.replace(QStringLiteral("Cmd"), QStringLiteral("Ctrl"), Qt::CaseInsensitive);
  peer_->action->setShortcut(QKeySequence::fromString(keys, QKeySequence::PortableText));
}

void MenuItem::AddMenu(const Ref<MenuItem>& item) {
  RequireMainThread("MenuItem.AddMenu");
  QAction* action = item->MenuPeer().action.get();
  item->parent_ = std::static_pointer_cast<MenuItem>(shared_from_this());
  children_.push_back(item);
  const MenuItem* root = this;
  while (auto parent = root->parent_.lock()) root = parent.get();
  for (const auto& view : root->peer_->views) {
    if (view && view->parentWidget()) AttachShortcuts(*item, *view->parentWidget());
  }
  if (dynamic_cast<MenuBar*>(this)) {
    for (const auto& view : peer_->views) {
      if (view) view->addAction(action);
    }
    return;
  }
  if (!peer_->menu) {
    peer_->menu = std::make_unique<QMenu>();
    peer_->action->setMenu(peer_->menu.get());
    QObject::connect(peer_->menu.get(), &QMenu::aboutToShow,
                     [this] { RefreshEnabled(Window::FrontWindow().get()); });
  }
  peer_->menu->addAction(action);
}

Ref<MenuItem> MenuItem::Item(size_t index) const {
  return index < children_.size() ? children_[index] : nullptr;
}

Ref<MenuItem> MenuItem::Child(std::string_view name) const {
  for (const auto& child : children_) {
    if (child->Name() == name) return child;
  }
  return nullptr;
}

Ref<MenuItem> MenuItem::Lookup_(std::string_view name) const {
  RequireMainThread("MenuItem.Lookup_");
  for (const auto& child : children_) {
    if (child->Name() == name) return child;
    if (auto found = child->Lookup_(name)) return found;
  }
  return nullptr;
}

bool MenuItem::Choose() {
  auto protector = shared_from_this();
  const Ref<Window> front = Window::FrontWindow();
  if (front && front->HasMenuHandler(name_) && front->HandleMenuChoice(name_)) return true;
  return RaiseEventForResult([this] { return Event_Action(); });
}

bool MenuItem::IsEnabledFor(const Window* front) const {
  if (!autoEnabled_) return enabled_;
  return !children_.empty() || IsQuitItem() || (front && front->HasMenuHandler(name_));
}

void MenuItem::RefreshEnabled(const Window* front) {
  ApplyEnabled(IsEnabledFor(front));
  for (const auto& child : children_) child->RefreshEnabled(front);
}

void MenuItem::ApplyEnabled(bool enabled) { peer_->action->setEnabled(enabled); }

void AttachShortcuts(const MenuItem& item, QWidget& window) {
  // Qt finds the shortcut of an action in a menu only through the menu's own
  // action; the entries here have actions of their own, so the window holds them.
  if (item.Count() == 0) window.addAction(item.MenuPeer().action.get());
  for (size_t i = 0; i < item.Count(); ++i) AttachShortcuts(*item.Item(i), window);
}

bool QuitMenuItem::Event_Action() { return QuitMenuAction(); }

bool QuitMenuAction() {
  Quit(0);
  return true;
}

}  // namespace platform
