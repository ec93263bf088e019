#include "platform/Window.h"

#include <QApplication>
#include <QLayout>
#include <QMenuBar>
#include <algorithm>

#include "platform/Application.h"
#include "platform/MenuItem.h"
#include "platform/PropertyTable.h"
#include "platform/Runtime.h"
#include "platform/qt/ControlPeer.h"
#include "platform/qt/MenuPeer.h"
#include "platform/qt/WindowWidget.h"

namespace platform {
namespace {

// Windows in the order they were last shown, for finding the front one.
std::vector<std::weak_ptr<Window>>& ShownOrder() {
  // Never destroyed (see RuntimeInit): a window may go after it.
  static auto& order = *new std::vector<std::weak_ptr<Window>>;
  return order;
}

Qt::WindowFlags KindFlags(std::int64_t type) {
  switch (type) {
    case 1:   // movable modal
    case 2:   // modal dialog
    case 11:  // modeless dialog
      return Qt::Dialog;
    case 3:  // floating
      return Qt::Tool;
    case 7:  // global floating
      return Qt::Tool | Qt::WindowStaysOnTopHint;
    case 4:  // plain box
    case 5:  // shadowed box
      return Qt::Window | Qt::FramelessWindowHint;
    default:  // document and the rest
      return Qt::Window;
  }
}

}  // namespace

const ClassInfo& Window::Class() {
  static const ClassInfo& info = RegisterClass({
      .name = "Window",
      .base = &Object::Class(),
      .events = {{"Activate", "", ""},
                 {"AddMenuHandlers", "Window", ""},
                 {"CancelClose", "Boolean", "Boolean"},
                 {"Close", "", ""},
                 {"ContentsChanged", "", ""},
                 {"CreateControls", "", ""},
                 {"Deactivate", "", ""},
                 {"EnableMenuItems", "", ""},
                 {"KeyDown", "String", "Boolean"},
                 {"Layout", "", ""},
                 {"Maximize", "", ""},
                 {"Minimize", "", ""},
                 {"MouseDown", "Integer, Integer", "Boolean"},
                 {"Moved", "", ""},
                 {"Open", "", ""},
                 {"Paint", "Graphics, Object", ""},
                 {"Resized", "", ""},
                 {"Restore", "", ""}},
      .properties = {Property("Width", &Window::SetWidth),
                     Property("Height", &Window::SetHeight),
                     Property("MinimumWidth", &Window::SetMinimumWidth),
                     Property("MinimumHeight", &Window::SetMinimumHeight),
                     Property("MaximumWidth", &Window::SetMaximumWidth),
                     Property("MaximumHeight", &Window::SetMaximumHeight),
                     Property("Type", &Window::SetType),
                     Property("Title", &Window::SetTitle),
                     Property("HasCloseButton", &Window::SetHasCloseButton),
                     Property("HasMaximizeButton", &Window::SetHasMaximizeButton),
                     Property("HasMinimizeButton", &Window::SetHasMinimizeButton),
                     Property("HasFullScreenButton", &Window::SetHasFullScreenButton),
                     Property("Resizeable", &Window::SetResizeable),
                     StoredProperty("Composite", ValueType::Boolean),
                     StoredProperty("MacProcId", ValueType::Integer),
                     Property("FullScreen", &Window::SetFullScreen),
                     Property("DefaultLocation", &Window::SetDefaultLocation),
                     Property("Visible", &Window::SetVisible),
                     Property("HasBackgroundColor", &Window::SetHasBackgroundColor),
                     Property("BackgroundColor", &Window::SetBackgroundColor),
                     Property("MenuBarVisible", &Window::SetMenuBarVisible)},
  });
  return info;
}

Window::Window() : peer_(std::make_unique<Peer>()) {
  RequireMainThread("Window");
  peer_->widget = std::make_unique<WindowWidget>(*this);
  ApplyFlags();
  ApplySize();
}

Window::~Window() {
  // The controls' widgets go first, while their parent still exists.
  controls_.clear();
}

void Window::Constructor() {
  RequireMainThread("Window.Constructor");
  auto self = RefTo(*this);
  detail::RegisterImplicitWindow(RuntimeClass().Name(), self);
  building_ = true;
  try {
    Layout();
    CreateControls();
    AddMenuHandlers(*this);
    for (const auto& [name, control] : controls_) control->RaiseOpen();
    Event_Open();
  } catch (...) {
    building_ = false;
    detail::ForgetImplicitWindow(*this);
    throw;
  }
  building_ = false;
  ApplyVisibility();
}

std::int64_t Window::Left() const { return peer_->widget->x(); }

void Window::SetLeft(std::int64_t left) {
  RequireMainThread("Window.Left");
  positioned_ = true;
  peer_->widget->StopCentring();
  peer_->widget->move(int(left), peer_->widget->y());
}

std::int64_t Window::Top() const { return peer_->widget->y(); }

void Window::SetTop(std::int64_t top) {
  RequireMainThread("Window.Top");
  positioned_ = true;
  peer_->widget->StopCentring();
  peer_->widget->move(peer_->widget->x(), int(top));
}

void Window::SetWidth(std::int64_t width) {
  width_ = width;
  ApplySize();
}

void Window::SetHeight(std::int64_t height) {
  height_ = height;
  ApplySize();
}

void Window::SetMinimumWidth(std::int64_t width) {
  minWidth_ = width;
  ApplySize();
}

void Window::SetMinimumHeight(std::int64_t height) {
  minHeight_ = height;
  ApplySize();
}

void Window::SetMaximumWidth(std::int64_t width) {
  maxWidth_ = width;
  ApplySize();
}

void Window::SetMaximumHeight(std::int64_t height) {
  maxHeight_ = height;
  ApplySize();
}

void Window::SetResizeable(bool resizeable) {
  resizeable_ = resizeable;
  ApplySize();
}

void Window::ApplySize() {
  RequireMainThread("Window.Size");
  auto& widget = *peer_->widget;
  QWidget* content = widget.Content();
  const QSize size{int(width_), int(height_)};
  if (resizeable_) {
    content->setMinimumSize(int(minWidth_), int(minHeight_));
    content->setMaximumSize(int(std::min<std::int64_t>(maxWidth_, QWIDGETSIZE_MAX)),
                            int(std::min<std::int64_t>(maxHeight_, QWIDGETSIZE_MAX)));
    widget.layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    content->resize(size);
    widget.resize(widget.sizeHint().expandedTo(size));
  } else {
    // The window keeps its content area's size plus whatever the menu bar takes.
    content->setFixedSize(size);
    widget.layout()->setSizeConstraint(QLayout::SetFixedSize);
  }
  widget.layout()->activate();
  CentreUnlessPlaced();
}

std::string Window::Title() const { return peer_->widget->windowTitle().toStdString(); }

void Window::SetTitle(const std::string& title) {
  RequireMainThread("Window.Title");
  peer_->widget->setWindowTitle(QString::fromStdString(title));
}

void Window::SetType(std::int64_t type) {
  type_ = type;
  ApplyFlags();
}

void Window::SetHasCloseButton(bool has) {
  hasClose_ = has;
  ApplyFlags();
}

void Window::SetHasMaximizeButton(bool has) {
  hasMaximize_ = has;
  ApplyFlags();
}

void Window::SetHasMinimizeButton(bool has) {
  hasMinimize_ = has;
  ApplyFlags();
}

void Window::SetHasFullScreenButton(bool has) {
  hasFullScreen_ = has;
  ApplyFlags();
}

void Window::ApplyFlags() {
  auto& widget = *peer_->widget;
  Qt::WindowFlags flags =
      KindFlags(type_) | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
  if (hasClose_) flags |= Qt::WindowCloseButtonHint;
  if (hasMinimize_) flags |= Qt::WindowMinimizeButtonHint;
  if (hasMaximize_) flags |= Qt::WindowMaximizeButtonHint;
  if (hasFullScreen_) flags |= Qt::WindowFullscreenButtonHint;
  if (widget.windowFlags() == flags) return;
  const bool shown = widget.isVisible();
  widget.setWindowFlags(flags);  // this hides a shown window
  widget.setWindowModality(type_ == 1 || type_ == 2 ? Qt::ApplicationModal : Qt::NonModal);
  if (shown) widget.show();
}

void Window::SetFullScreen(bool fullScreen) {
  fullScreen_ = fullScreen;
  if (peer_->widget->isVisible()) ApplyVisibility();
}

void Window::SetDefaultLocation(std::int64_t location) {
  defaultLocation_ = location;
  CentreUnlessPlaced();
}

void Window::CentreUnlessPlaced() {
  if (defaultLocation_ == CentredOnMainScreen && !positioned_) peer_->widget->CentreOnScreen();
}

void Window::SetVisible(bool visible) {
  RequireMainThread("Window.Visible");
  visible_ = visible;
  if (!building_) ApplyVisibility();
}

void Window::ApplyVisibility() {
  auto& widget = *peer_->widget;
  // The application's bar may have come after the window was built.
  ShowMenuBar();
  if (!visible_) {
    widget.hide();
    RefreshMenusForFrontWindow();
    return;
  }
  // Nothing new appears on screen once the program is ending.
  if (IsTerminating()) return;
  if (!widget.isVisible()) CentreUnlessPlaced();
  if (fullScreen_) {
    widget.showFullScreen();
  } else {
    widget.showNormal();
  }
  CentreUnlessPlaced();
  auto& order = ShownOrder();
  std::erase_if(order, [this](const auto& w) { return w.expired() || w.lock().get() == this; });
  order.push_back(std::static_pointer_cast<Window>(shared_from_this()));
  RefreshMenusForFrontWindow();
}

void Window::SetHasBackgroundColor(bool has) {
  hasBackground_ = has;
  SetBackgroundColor(background_);
}

void Window::SetBackgroundColor(Color color) {
  background_ = color;
  QWidget* content = peer_->widget->Content();
  QPalette palette = QApplication::palette(content);
  if (hasBackground_) palette.setColor(QPalette::Window, QColor::fromRgb(color.rgb));
  content->setPalette(palette);
  content->setAutoFillBackground(hasBackground_);
}

Ref<platform::MenuBar> Window::MenuBar() const {
  RequireMainThread("Window.MenuBar");
  return menuBar_;
}

void Window::SetMenuBar(const Ref<platform::MenuBar>& bar) {
  RequireMainThread("Window.MenuBar");
  menuBar_ = bar;
  ShowMenuBar();
  if (bar) bar->RefreshEnabled(this);
}

Ref<platform::MenuBar> Window::ShownMenuBar() const {
  if (menuBar_) return menuBar_;
  if (!menuBarVisible_) return nullptr;
  const Ref<Application> app = GetAppObject_();
  return app ? app->MenuBar() : nullptr;
}

void Window::ShowMenuBar() {
  const Ref<platform::MenuBar> bar = ShownMenuBar();
  auto& widget = *peer_->widget;
  bool changed = false;
  if (bar != shownBar_) {
    changed = true;
    shownBar_ = bar;
    // The window holds only the shortcuts of the bar it shows: those of a bar it no
    // longer shows must stop working.
    for (QAction* action : widget.actions()) widget.removeAction(action);
    widget.setMenuBar(nullptr);
    peer_->menuBarView = nullptr;
    if (bar) {
      // Born the window's child: a menu bar without a parent that is made visible
      // is mapped as a window of its own.
      auto* view = new QMenuBar(&widget);
      for (size_t i = 0; i < bar->Count(); ++i) {
        view->addAction(bar->Item(i)->MenuPeer().action.get());
      }
      bar->MenuPeer().views.emplace_back(view);
      widget.setMenuBar(view);
      peer_->menuBarView = view;
      AttachShortcuts(*bar, widget);
    }
  }
  if (QWidget* view = peer_->menuBarView; view && view->isHidden() == menuBarVisible_) {
    changed = true;
    view->setVisible(menuBarVisible_);
  }
  if (!changed) return;
  // The content area keeps its design size: the window grows by the bar, and is
  // centred again at its new size.
  widget.layout()->activate();
  CentreUnlessPlaced();
}

void Window::SetMenuBarVisible(bool visible) {
  menuBarVisible_ = visible;
  ShowMenuBar();
}

void Window::Refresh(bool immediately) {
  if (immediately) {
    peer_->widget->repaint();
  } else {
    peer_->widget->update();
  }
}

void Window::Close() { peer_->widget->close(); }

void Window::AddControl_(const std::string& name, const Ref<RectControl>& control) {
  RequireMainThread("Window.AddControl_");
  controls_.emplace_back(name, control);
}

Ref<RectControl> Window::ControlByName_(std::string_view name) const {
  for (const auto& [registered, control] : controls_) {
    if (registered == name) return control;
  }
  return nullptr;
}

std::vector<Ref<RectControl>> Window::FocusOrder() const {
  std::vector<Ref<RectControl>> order;
  for (const auto& entry : controls_) order.push_back(entry.second);
  std::stable_sort(order.begin(), order.end(),
                   [](const auto& a, const auto& b) { return a->TabIndex() < b->TabIndex(); });
  return order;
}

bool Window::MoveFocus(bool forward) {
  std::vector<QWidget*> chain;
  for (const auto& control : FocusOrder()) {
    QWidget* widget = control->ControlPeer().widget;
    if ((widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() &&
        widget->isVisibleTo(peer_->widget.get())) {
      chain.push_back(widget);
    }
  }
  if (chain.empty()) return false;
  const auto current = std::find(chain.begin(), chain.end(), QApplication::focusWidget());
  size_t next = 0;
  if (current != chain.end()) {
    const size_t at = size_t(current - chain.begin());
    next = forward ? (at + 1) % chain.size() : (at + chain.size() - 1) % chain.size();
  } else if (!forward) {
    next = chain.size() - 1;
  }
  chain[next]->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  return true;
}

void Window::AddMenuHandler_(const std::string& itemName, MenuHandler handler) {
  RequireMainThread("Window.AddMenuHandler_");
  menuHandlers_.emplace_back(itemName, std::move(handler));
  if (menuBar_) menuBar_->RefreshEnabled(this);
}

bool Window::HasMenuHandler(std::string_view itemName) const {
  return std::any_of(menuHandlers_.begin(), menuHandlers_.end(),
                     [&](const auto& entry) { return entry.first == itemName; });
}

bool Window::HandleMenuChoice(std::string_view itemName) {
  auto self = shared_from_this();
  for (const auto& [name, handler] : menuHandlers_) {
    if (name == itemName) {
      auto entry = handler;  // a handler may bind others while it runs
      return RaiseEventForResult([&] { return entry(*self); });
    }
  }
  return false;
}

Ref<Window> Window::FrontWindow() {
  auto* active = qobject_cast<WindowWidget*>(QApplication::activeWindow());
  if (active && active->isVisible()) {
    return std::static_pointer_cast<Window>(active->Owner().shared_from_this());
  }
  auto& order = ShownOrder();
  for (auto it = order.rbegin(); it != order.rend(); ++it) {
    auto window = it->lock();
    if (window && window->peer_->widget->isVisible()) return window;
  }
  return nullptr;
}

void Window::RefreshMenusForFrontWindow() {
  const Ref<Window> front = FrontWindow();
  if (!front) return;
  if (const Ref<platform::MenuBar> bar = front->ShownMenuBar()) bar->RefreshEnabled(front.get());
}

}  // namespace platform
