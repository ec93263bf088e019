#pragma once

#include <QPixmap>

#include "platform/Picture.h"

namespace platform {

struct Picture::Image {
  QPixmap pixmap;
};

}  // namespace platform
