#include "platform/Canvas.h"

#include "platform/PropertyTable.h"
#include "platform/qt/CanvasWidget.h"
#include "platform/qt/ControlPeer.h"
#include "platform/qt/PictureImage.h"

namespace platform {
namespace {

CanvasWidget& Widget(const Canvas& canvas) {
  return static_cast<CanvasWidget&>(*canvas.ControlPeer().widget);
}

}  // namespace

const ClassInfo& Canvas::Class() {
  static const ClassInfo& info =
      RegisterClass({.name = "Canvas",
                     .base = &RectControl::Class(),
                     .events = {{"Activate", "", ""},
                                {"DoubleClick", "Integer, Integer", ""},
                                {"GotFocus", "", ""},
                                {"LostFocus", "", ""},
                                {"Paint", "Graphics, Object", ""},
                                {"ScaleFactorChanged", "Double", ""},
                                {"MouseDown", "Integer, Integer", "Boolean"},
                                {"MouseDrag", "Integer, Integer", ""},
                                {"MouseUp", "Integer, Integer", ""}},
                     .properties = {StoredProperty("AllowFocusRing", ValueType::Boolean),
                                    Property("AllowFocus", &Canvas::SetAllowFocus),
                                    StoredProperty("AllowTabs", ValueType::Boolean),
                                    StoredProperty("DoubleBuffer", ValueType::Boolean)}});
  return info;
}

Canvas::Canvas() : RectControl(std::make_unique<Peer>(new CanvasWidget)) {
  Widget(*this).onMouseDown = [this](int x, int y) { return RaiseMouseDown(x, y); };
  ApplyTransparency();
}

void Canvas::SetBackdrop(const Ref<Picture>& picture) {
  RequireMainThread("Canvas.Backdrop");
  backdrop_ = picture;
  if (picture) {
    Widget(*this).SetBackdrop(picture->Pixels().pixmap,
                              QString::fromStdString(picture->Description()));
  } else {
    Widget(*this).SetBackdrop(QPixmap(), QString());
  }
}

void Canvas::SetAllowFocus(bool allow) {
  allowFocus_ = allow;
  UpdateFocusPolicy();
}

void Canvas::ApplyTransparency() {
  // A transparent canvas lets the window show through around its picture.
  auto& widget = Widget(*this);
  widget.setAutoFillBackground(!Transparent());
  widget.setAttribute(Qt::WA_NoSystemBackground, Transparent());
}

bool Canvas::RaiseMouseDown(std::int64_t x, std::int64_t y) {
  return Raise<bool>("MouseDown", *this, x, y);
}

void Canvas::RaiseOpen() { Raise<void>("Open", *this); }

}  // namespace platform
