#pragma once

#include <QProxyStyle>

namespace platform {

// The application's style, with its standard icons read only when one is first
// drawn. Widgets ask for some when they are made and mostly never draw them (a
// menu bar's overflow button); reading one of Qt's built-in icons asks every image
// plugin whether it reads PNG, which loads them all, and libjpeg with them.
class DeferredIconStyle final : public QProxyStyle {
 public:
  QIcon standardIcon(StandardPixmap icon, const QStyleOption* option = nullptr,
                     const QWidget* widget = nullptr) const override;
};

}  // namespace platform
