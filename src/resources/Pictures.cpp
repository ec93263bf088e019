#include "resources/Pictures.h"

namespace {

platform::Ref<platform::Picture> ballPic;
platform::Ref<platform::Picture> logoPic;

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
