#pragma once

#include "platform/Picture.h"
#include "platform/Ref.h"

// The pictures of the bundle, opened on first use and kept. An open that fails is
// tried again at the next call.
platform::Ref<platform::Picture> ballsmall1();
platform::Ref<platform::Picture> TarnwickUpdatedLogosmall();

namespace resources {
void ReleasePictures();
}  // namespace resources
