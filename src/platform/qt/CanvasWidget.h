#pragma once

#include <QAccessibleWidget>
#include <QPixmap>
#include <QWidget>
#include <functional>

namespace platform {

// Draws a canvas's backdrop and reports mouse-downs. A screen reader sees it as a
// graphic named after its picture that can be pressed like a button.
class CanvasWidget : public QWidget {
  Q_OBJECT
 public:
  CanvasWidget();

  void SetBackdrop(const QPixmap& pixmap, const QString& description);
  // What pressing it from the keyboard or a screen reader does: a mouse-down in
  // its middle.
  void Press();

  std::function<bool(int x, int y)> onMouseDown;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPixmap backdrop_;
};

class CanvasAccessible : public QAccessibleWidget {
 public:
  explicit CanvasAccessible(QWidget* widget);
  QStringList actionNames() const override;
  void doAction(const QString& action) override;
};

}  // namespace platform
