#include "platform/Picture.h"

#include <QGuiApplication>
#include <QImageReader>

#include "platform/FolderItem.h"
#include "platform/Runtime.h"
#include "platform/qt/PictureImage.h"

namespace platform {

const ClassInfo& Picture::Class() {
  static const ClassInfo& info = RegisterClass({.name = "Picture", .base = &Object::Class()});
  return info;
}

Picture::Picture(std::unique_ptr<Image> image, std::string description)
    : image_(std::move(image)), description_(std::move(description)) {}

Picture::~Picture() = default;

std::int64_t Picture::Width() const {
  return std::int64_t(image_->pixmap.deviceIndependentSize().width());
}

std::int64_t Picture::Height() const {
  return std::int64_t(image_->pixmap.deviceIndependentSize().height());
}

Ref<Picture> Picture::OpenFromApp_(const std::string& name) {
  const Ref<FolderItem> resources = GetApplicationBundleResources_();
  if (!resources) return nullptr;
  const bool dense = SupportsHiDPI() && qApp && qApp->devicePixelRatio() > 1.0;
  Ref<FolderItem> file = dense ? resources->Child(name + "@2x.png") : nullptr;
  const qreal ratio = file ? 2.0 : 1.0;
  if (!file) file = resources->Child(name + ".png");
  if (!file) return nullptr;

  // Our pictures are PNG files. Named and not detected, the format is read by Qt's
  // own PNG reader: detection would load every image plugin there is (and libjpeg)
  // to ask each whether it reads PNG.
  QImageReader reader(QString::fromStdString(file->NativePath()), QByteArrayLiteral("png"));
  reader.setAutoDetectImageFormat(false);
  const QImage image = reader.read();
  if (image.isNull()) return nullptr;
  auto pixels = std::make_unique<Image>();
  pixels->pixmap = QPixmap::fromImage(image);
  pixels->pixmap.setDevicePixelRatio(ratio);
  return New<Picture>(std::move(pixels), image.text(QStringLiteral("Description")).toStdString());
}

}  // namespace platform
