#pragma once

#include <QLabel>
#include <QMouseEvent>
#include <functional>

namespace platform {

// A QLabel that reports mouse-downs to its control.
class LabelWidget : public QLabel {
  Q_OBJECT
 public:
  std::function<bool(int x, int y)> onMouseDown;

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    const QPoint at = event->position().toPoint();
    if (onMouseDown && onMouseDown(at.x(), at.y())) {
      event->accept();
    } else {
      QLabel::mousePressEvent(event);
    }
  }
};

}  // namespace platform
