#include "platform/qt/CanvasWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace platform {
namespace {

QAccessibleInterface* MakeCanvasAccessible(const QString& className, QObject* object) {
  if (className == QLatin1String("platform::CanvasWidget") && object->isWidgetType()) {
    return new CanvasAccessible(static_cast<QWidget*>(object));
  }
  return nullptr;
}

}  // namespace

CanvasWidget::CanvasWidget() {
  static const bool installed = (QAccessible::installFactory(MakeCanvasAccessible), true);
  (void)installed;
}

void CanvasWidget::SetBackdrop(const QPixmap& pixmap, const QString& description) {
  backdrop_ = pixmap;
  setAccessibleName(description);
  update();
}

void CanvasWidget::Press() {
  if (onMouseDown) onMouseDown(width() / 2, height() / 2);
}

void CanvasWidget::paintEvent(QPaintEvent*) {
  if (backdrop_.isNull()) return;
  QPainter painter(this);
  painter.drawPixmap(0, 0, backdrop_);
}

void CanvasWidget::mousePressEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (onMouseDown && onMouseDown(at.x(), at.y())) {
    event->accept();
  } else {
    QWidget::mousePressEvent(event);
  }
}

void CanvasWidget::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
      event->key() == Qt::Key_Enter) {
    Press();
    return;
  }
  QWidget::keyPressEvent(event);
}

CanvasAccessible::CanvasAccessible(QWidget* widget)
    : QAccessibleWidget(widget, QAccessible::Graphic) {}

QStringList CanvasAccessible::actionNames() const {
  return QStringList{pressAction()} + QAccessibleWidget::actionNames();
}

void CanvasAccessible::doAction(const QString& action) {
  if (action == pressAction()) {
    static_cast<CanvasWidget*>(widget())->Press();
    return;
  }
  QAccessibleWidget::doAction(action);
}

}  // namespace platform
