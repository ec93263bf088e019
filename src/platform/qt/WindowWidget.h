#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>

#include "platform/Window.h"

namespace platform {

// The Qt window behind a Window: a main window whose central widget is the
// content area that the controls sit in, under the menu bar.
class WindowWidget : public QMainWindow {
  Q_OBJECT
 public:
  explicit WindowWidget(Window& owner);

  Window& Owner() const { return owner_; }
  QWidget* Content() const { return content_; }

  // Centres the window's frame on the screen now, and again once the window
  // manager has framed it: the frame's size is known only then.
  void CentreOnScreen();
  void StopCentring() { centring_ = false; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool event(QEvent* event) override;
  // Tab follows the controls' tab indexes, not the order they were made in.
  bool focusNextPrevChild(bool next) override { return owner_.MoveFocus(next); }

 private:
  Window& owner_;
  QWidget* content_;
  bool centring_ = false;
};

struct Window::Peer {
  std::unique_ptr<WindowWidget> widget;
  QPointer<QWidget> menuBarView;
};

}  // namespace platform
