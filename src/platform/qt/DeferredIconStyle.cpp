#include "platform/qt/DeferredIconStyle.h"

#include <QIconEngine>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

namespace platform {
namespace {

// Stands for an icon that is made when something asks for its pixels.
class DeferredIconEngine final : public QIconEngine {
 public:
  explicit DeferredIconEngine(std::function<QIcon()> make) : make_(std::move(make)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().pixmap(size, mode, state);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                       qreal scale) override {
    return Icon().pixmap(size, scale, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Icon().actualSize(size, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return Icon().availableSizes(mode, state);
  }
  QIconEngine* clone() const override { return new DeferredIconEngine(*this); }
  QString key() const override { return QStringLiteral("orbivane-deferred"); }

 private:
  const QIcon& Icon() {
    if (!icon_) icon_ = make_();
    return *icon_;
  }

  std::function<QIcon()> make_;
  std::optional<QIcon> icon_;
};

}  // namespace

QIcon DeferredIconStyle::standardIcon(StandardPixmap icon, const QStyleOption*,
                                      const QWidget* widget) const {
  // The option does not outlive this call, and the widget may go before the icon
  // is drawn; the built-in icons depend on neither.
  const QPointer<QWidget> owner(const_cast<QWidget*>(widget));
  const QPointer<QStyle> base(baseStyle());
  return QIcon(new DeferredIconEngine([base, icon, owner] {
    return base ? base->standardIcon(icon, nullptr, owner.data()) : QIcon();
  }));
}

}  // namespace platform
