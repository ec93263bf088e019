#include "platform/Control.h"

#include "platform/PropertyTable.h"
#include "platform/Window.h"
#include "platform/qt/ControlPeer.h"
#include "platform/qt/WindowWidget.h"

namespace platform {

const ClassInfo& Control::Class() {
  static const ClassInfo& info = RegisterClass({
      .name = "Control",
      .base = &Object::Class(),
      .events = {{"Close", "", ""}, {"CreatePane", "", ""}, {"Open", "", ""}},
      .properties = {StoredProperty("Index", ValueType::Integer)},
  });
  return info;
}

int Control::EventNumber(std::string_view event) const {
  const ClassInfo& cls = RuntimeClass();
  const int number = cls.EventNumber(event);
  if (number < 0) throw RuntimeException(cls.Name() + " has no event " + std::string(event));
  return number;
}

void Control::AddEventHandler(int event, std::shared_ptr<DelegateBase> handler) {
  const ClassInfo& cls = RuntimeClass();
  const EventInfo* info = cls.EventByNumber(event);
  if (!info) throw RuntimeException(cls.Name() + " has no event " + std::to_string(event));
  std::string expected = "( " + cls.Name();
  if (!info->parameters.empty()) expected += ", " + info->parameters;
  expected += " )";
  if (!info->result.empty()) expected += " as " + info->result;
  if (!handler || handler->Signature() != expected) {
    throw RuntimeException("a handler of " + cls.Name() + "." + info->name + " must be \"" +
                           expected + "\", not \"" + (handler ? handler->Signature() : "") + "\"");
  }
  handlers_[event] = std::move(handler);
}

void RuntimeAddEventHandler(const Ref<Control>& control, int event,
                            std::shared_ptr<DelegateBase> handler) {
  control->AddEventHandler(event, std::move(handler));
}

const ClassInfo& RectControl::Class() {
  static const ClassInfo& info = RegisterClass({
      .name = "RectControl",
      .base = &Control::Class(),
      .events = {{"ConstructContextualMenu", "MenuItem, Integer, Integer", "Boolean"},
                 {"ContextualMenuAction", "MenuItem", "Boolean"},
                 {"DragEnter", "DragItem, Integer", "Boolean"},
                 {"DragExit", "DragItem, Integer", ""},
                 {"DragOver", "DragItem, Integer", "Boolean"},
                 {"DropObject", "DragItem, Integer", ""},
                 {"KeyDown", "String", "Boolean"},
                 {"KeyUp", "String", ""},
                 {"MouseEnter", "", ""},
                 {"MouseExit", "", ""},
                 {"MouseMove", "Integer, Integer", ""},
                 {"MouseWheel", "Integer, Integer, Integer, Integer", "Boolean"}},
      .properties = {Property("Name", &RectControl::SetName),
                     Property("Left", &RectControl::SetLeft), Property("Top", &RectControl::SetTop),
                     Property("Width", &RectControl::SetWidth),
                     Property("Height", &RectControl::SetHeight),
                     StoredProperty("LockLeft", ValueType::Boolean),
                     StoredProperty("LockTop", ValueType::Boolean),
                     StoredProperty("LockRight", ValueType::Boolean),
                     StoredProperty("LockBottom", ValueType::Boolean),
                     Property("TabIndex", &RectControl::SetTabIndex),
                     StoredProperty("TabPanelIndex", ValueType::Integer),
                     Property("TabStop", &RectControl::SetTabStop),
                     StoredProperty("AllowAutoDeactivate", ValueType::Boolean),
                     Property("Enabled", &RectControl::SetEnabled),
                     Property("Tooltip", &RectControl::SetTooltip),
                     Property("Visible", &RectControl::SetVisible),
                     Property("Transparent", &RectControl::SetTransparent),
                     StoredProperty("InitialParent", ValueType::String)},
  });
  return info;
}

RectControl::RectControl(std::unique_ptr<Peer> peer) : peer_(std::move(peer)) {}

RectControl::~RectControl() = default;

void RectControl::Constructor() { RequireMainThread("RectControl.Constructor"); }

void RectControl::AttachTo(platform::Window& window) {
  window_ = std::static_pointer_cast<platform::Window>(window.shared_from_this());
  peer_->widget->setParent(window.WindowPeer().widget->Content());
  // A widget given a new parent is hidden until shown again.
  peer_->widget->setVisible(visible_);
  UpdateFocusPolicy();
}

std::int64_t RectControl::Left() const { return peer_->widget->x(); }

void RectControl::SetLeft(std::int64_t left) {
  RequireMainThread("RectControl.Left");
  peer_->widget->move(int(left), peer_->widget->y());
}

std::int64_t RectControl::Top() const { return peer_->widget->y(); }

void RectControl::SetTop(std::int64_t top) {
  RequireMainThread("RectControl.Top");
  peer_->widget->move(peer_->widget->x(), int(top));
}

std::int64_t RectControl::Width() const { return peer_->widget->width(); }

void RectControl::SetWidth(std::int64_t width) {
  RequireMainThread("RectControl.Width");
  peer_->widget->resize(int(width), peer_->widget->height());
}

std::int64_t RectControl::Height() const { return peer_->widget->height(); }

void RectControl::SetHeight(std::int64_t height) {
  RequireMainThread("RectControl.Height");
  peer_->widget->resize(peer_->widget->width(), int(height));
}

void RectControl::SetTabIndex(std::int64_t index) { tabIndex_ = index; }

void RectControl::SetTabStop(bool stop) {
  tabStop_ = stop;
  UpdateFocusPolicy();
}

void RectControl::UpdateFocusPolicy() {
  peer_->widget->setFocusPolicy(tabStop_ && AcceptsFocus() ? Qt::StrongFocus : Qt::NoFocus);
}

bool RectControl::Enabled() const { return peer_->widget->isEnabled(); }

void RectControl::SetEnabled(bool enabled) {
  RequireMainThread("RectControl.Enabled");
  peer_->widget->setEnabled(enabled);
}

void RectControl::SetVisible(bool visible) {
  RequireMainThread("RectControl.Visible");
  visible_ = visible;
  // Until the control sits in its window its widget would show as a window of its own.
  if (peer_->widget->parentWidget()) peer_->widget->setVisible(visible);
}

std::string RectControl::Tooltip() const { return peer_->widget->toolTip().toStdString(); }

void RectControl::SetTooltip(const std::string& text) {
  peer_->widget->setToolTip(QString::fromStdString(text));
}

void RectControl::SetTransparent(bool transparent) {
  transparent_ = transparent;
  ApplyTransparency();
}

void RectControl::ApplyTransparency() {
  // An opaque control fills its rectangle with the window's background first.
  peer_->widget->setAutoFillBackground(!transparent_);
}

}  // namespace platform
