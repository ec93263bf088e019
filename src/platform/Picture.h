#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/Object.h"
#include "platform/Ref.h"

namespace platform {

// A picture, drawn at its size in logical pixels; on a high-density screen its
// double-size variant is drawn in the same space.
class Picture : public Object {
 public:
  static const ClassInfo& Class();
  const ClassInfo& RuntimeClass() const override { return Class(); }

  // The application's picture of that name from the bundle's Resources folder
  // ("<name>.png", or "<name>@2x.png" on a high-density screen), or nil.
  static Ref<Picture> OpenFromApp_(const std::string& name);

  ~Picture() override;

  std::int64_t Width() const;
  std::int64_t Height() const;
  // The picture's own description of what it shows, for screen readers.
  const std::string& Description() const { return description_; }

  struct Image;
  const Image& Pixels() const { return *image_; }

  explicit Picture(std::unique_ptr<Image> image, std::string description);

 private:
  std::unique_ptr<Image> image_;
  std::string description_;
};

}  // namespace platform
