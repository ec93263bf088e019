#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/Control.h"

namespace platform {

// The Qt widget that draws a control. The window's content widget is its Qt
// parent; the control deletes it, unless the window's widget already has.
struct RectControl::Peer {
  explicit Peer(QWidget* widget) : widget(widget) {}
  virtual ~Peer() { delete widget.data(); }
  QPointer<QWidget> widget;
};

}  // namespace platform
