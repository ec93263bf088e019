#include "resources/Pictures.h"

namespace {

// Never destroyed, since they hold Qt images (see platform::RuntimeInit); the program
// lets go of them on its way out.
platform::Ref<platform::Picture>& ballPic = *new platform::Ref<platform::Picture>;
platform::Ref<platform::Picture>& logoPic = *new platform::Ref<platform::Picture>;

platform::Ref<platform::Picture> Cached(platform::Ref<platform::Picture>& pic, const char* name) {
  if (!pic) pic = platform::Picture::OpenFromApp_(name);
  return pic;
}

}  // namespace

platform::Ref<platform::Picture> ballsmall1() { return Cached(ballPic, "ballsmall1"); }

platform::Ref<platform::Picture> TarnwickUpdatedLogosmall() {
  return Cached(logoPic, "TarnwickUpdatedLogosmall");
}

namespace resources {

void ReleasePictures() {
  ballPic = nullptr;
  logoPic = nullptr;
}

}  // namespace resources
