#pragma once

#include <cstdint>

#include "platform/Control.h"
#include "platform/Picture.h"

namespace platform {

// A control that draws its backdrop picture and reports clicks.
class Canvas : public RectControl {
 public:
  static const ClassInfo& Class();
  const ClassInfo& RuntimeClass() const override { return Class(); }

  Canvas();

  Ref<Picture> Backdrop() const { return backdrop_; }
  // A nil picture leaves the canvas empty.
  void SetBackdrop(const Ref<Picture>& picture);
  bool AllowFocus() const { return allowFocus_; }
  void SetAllowFocus(bool allow);

  bool RaiseMouseDown(std::int64_t x, std::int64_t y);
  void RaiseOpen() override;

 protected:
  bool AcceptsFocus() const override { return allowFocus_; }
  void ApplyTransparency() override;

 private:
  Ref<Picture> backdrop_;
  bool allowFocus_ = false;
};

}  // namespace platform
