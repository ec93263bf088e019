#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/Delegate.h"
#include "platform/Object.h"
#include "platform/Ref.h"
#include "platform/Runtime.h"

namespace platform {

class Window;

// A control of a window. Its events are numbered by the runtime's class
// registry; a handler is a delegate attached to an event by its number.
class Control : public Object {
 public:
  static const ClassInfo& Class();
  const ClassInfo& RuntimeClass() const override { return Class(); }

  // The number of the event in the control's class, counting its bases' events
  // first; raises a RuntimeException when the class declares no event of that name.
  int EventNumber(std::string_view event) const;

  // Attaches the delegate to the event of that number. Its signature text must be
  // the event's, with this control's class as the sender.
  void AddEventHandler(int event, std::shared_ptr<DelegateBase> handler);
  bool HasEventHandler(int event) const { return handlers_.count(event) != 0; }
  bool HasEventHandler(std::string_view event) const { return HasEventHandler(EventNumber(event)); }

  // Raised by the window once it is built, before the window's own Open.
  virtual void RaiseOpen() {}

 protected:
  // Raises the event as the event loop does: an exception that escapes the handler
  // is reported, and a Boolean event then answers false.
  template <class R, class Sender, class... Args>
  R Raise(std::string_view event, Sender& sender, Args... args);

  // Calls the delegate attached to the event with the sender and the event's
  // arguments; an event with no handler answers R(). The control stays alive
  // while its handler runs, whatever the handler does to its window.
  template <class R, class Sender, class... Args>
  R Dispatch(int event, Sender& sender, Args... args);

 private:
  std::map<int, std::shared_ptr<DelegateBase>> handlers_;
};

void RuntimeAddEventHandler(const Ref<Control>& control, int event,
                            std::shared_ptr<DelegateBase> handler);

// A control with a place and a size in its window, drawn by a Qt widget.
class RectControl : public Control {
 public:
  static const ClassInfo& Class();
  const ClassInfo& RuntimeClass() const override { return Class(); }

  ~RectControl() override;

  // The no-argument constructor that every control runs after its creation.
  void Constructor();

  const std::string& Name() const { return name_; }
  void SetName(const std::string& name) { name_ = name; }

  std::int64_t Left() const;
  void SetLeft(std::int64_t left);
  std::int64_t Top() const;
  void SetTop(std::int64_t top);
  std::int64_t Width() const;
  void SetWidth(std::int64_t width);
  std::int64_t Height() const;
  void SetHeight(std::int64_t height);

  // The control's place in its window's keyboard focus order.
  std::int64_t TabIndex() const { return tabIndex_; }
  void SetTabIndex(std::int64_t index);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool stop);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  std::string Tooltip() const;
  void SetTooltip(const std::string& text);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);

  Ref<platform::Window> Window() const { return window_.lock(); }

  struct Peer;
  Peer& ControlPeer() const { return *peer_; }

 protected:
  explicit RectControl(std::unique_ptr<Peer> peer);
  // Whether the control can take the keyboard focus when its tab stop allows it.
  virtual bool AcceptsFocus() const { return false; }
  void UpdateFocusPolicy();
  virtual void ApplyTransparency();

 private:
  friend class platform::Window;
  void AttachTo(platform::Window& window);

  std::unique_ptr<Peer> peer_;
  std::weak_ptr<platform::Window> window_;
  std::string name_;
  std::int64_t tabIndex_ = 0;
  bool tabStop_ = true;
  bool visible_ = true;
  bool transparent_ = false;
};

template <class R, class Sender, class... Args>
R Control::Raise(std::string_view event, Sender& sender, Args... args) {
  if constexpr (std::is_void_v<R>) {
    RaiseEvent([&] { Dispatch<void>(EventNumber(event), sender, args...); });
  } else {
    return RaiseEventForResult([&] { return Dispatch<R>(EventNumber(event), sender, args...); });
  }
}

template <class R, class Sender, class... Args>
R Control::Dispatch(int event, Sender& sender, Args... args) {
  auto protector = shared_from_this();
  auto it = handlers_.find(event);
  if (it == handlers_.end()) return R();
  auto handler = it->second;  // the handler may replace the binding while it runs
  auto* typed = dynamic_cast<Delegate<R(Sender&, Args...)>*>(handler.get());
  if (!typed)
    throw RuntimeException("handler \"" + handler->Signature() + "\" cannot take event " +
                           std::to_string(event));
  return (*typed)(sender, args...);
}

}  // namespace platform
