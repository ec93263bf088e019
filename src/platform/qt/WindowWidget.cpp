#include "platform/qt/WindowWidget.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

#include "platform/Runtime.h"

namespace platform {

WindowWidget::WindowWidget(Window& owner) : owner_(owner), content_(new QWidget) {
  setCentralWidget(content_);
}

void WindowWidget::CentreOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QSize frame = frameGeometry().size().expandedTo(size());
  move(area.x() + (area.width() - frame.width()) / 2,
       area.y() + (area.height() - frame.height()) / 2);
  const bool framed = frameGeometry().size() != size();
  centring_ = isVisible() && !framed;
}

void WindowWidget::closeEvent(QCloseEvent* event) {
  auto protector = owner_.shared_from_this();
  RaiseEvent([&] { owner_.Event_Close(); });
  event->accept();
  owner_.NoteClosed();
}

bool WindowWidget::event(QEvent* event) {
  const bool handled = QMainWindow::event(event);
  // The shared menu items are enabled for the window in front.
  if (event->type() == QEvent::WindowActivate) Window::RefreshMenusForFrontWindow();
  // A window manager frames the window after it is shown; centre it again then.
  if (centring_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
                    event->type() == QEvent::Expose || event->type() == QEvent::WindowActivate)) {
    if (frameGeometry().size() != size()) CentreOnScreen();
  }
  return handled;
}

}  // namespace platform
