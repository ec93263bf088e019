#include "platform/Label.h"

#include <QPalette>

#include "platform/PropertyTable.h"
#include "platform/qt/ControlPeer.h"
#include "platform/qt/LabelWidget.h"

namespace platform {
namespace {

LabelWidget& Widget(const Label& label) {
  return static_cast<LabelWidget&>(*label.ControlPeer().widget);
}

// QLabel draws a carriage return as a blank; show it as the line break it is.
QString DisplayText(const std::string& text) {
  QString shown = QString::fromStdString(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QChar('\r'), QChar('\n'));
  return shown;
}

}  // namespace

const ClassInfo& Label::Class() {
  static const ClassInfo& info = []() -> const ClassInfo& {
    std::vector<PropertyInfo> properties = {Property("MultiLine", &Label::SetMultiLine),
                                            Property("Selectable", &Label::SetSelectable),
                                            Property("TextAlignment", &Label::SetTextAlignment),
                                            Property("TextColor", &Label::SetTextColor),
                                            Property("Text", &Label::SetText),
                                            StoredProperty("DataSource", ValueType::String),
                                            StoredProperty("DataField", ValueType::String)};
    for (auto& p : FontProperties()) properties.push_back(std::move(p));
    return RegisterClass({.name = "Label",
                          .base = &RectControl::Class(),
                          .events = {{"AcceleratorKey", "String", "Boolean"},
                                     {"MouseDown", "Integer, Integer", "Boolean"},
                                     {"MouseDrag", "Integer, Integer", ""},
                                     {"MouseUp", "Integer, Integer", ""}},
                          .properties = std::move(properties)});
  }();
  return info;
}

Label::Label() : TextControl(std::make_unique<Peer>(new LabelWidget)) {
  auto& widget = Widget(*this);
  widget.setAlignment(Qt::AlignLeft | Qt::AlignTop);
  widget.setTextFormat(Qt::PlainText);
  widget.onMouseDown = [this](int x, int y) { return RaiseMouseDown(x, y); };
  ApplyTransparency();
}

void Label::SetText(const std::string& text) {
  RequireMainThread("Label.Text");
  text_ = text;
  Widget(*this).setText(DisplayText(text));
}

void Label::SetMultiLine(bool multiLine) {
  multiLine_ = multiLine;
  Widget(*this).setWordWrap(multiLine);
}

void Label::SetSelectable(bool selectable) {
  selectable_ = selectable;
  Widget(*this).setTextInteractionFlags(selectable ? Qt::TextSelectableByMouse
                                                   : Qt::NoTextInteraction);
}

void Label::SetTextAlignment(std::int64_t alignment) {
  alignment_ = alignment;
  Qt::Alignment horizontal = Qt::AlignLeft;
  if (alignment == AlignCentre) horizontal = Qt::AlignHCenter;
  if (alignment == AlignRight) horizontal = Qt::AlignRight;
  Widget(*this).setAlignment(horizontal | Qt::AlignTop);
}

void Label::SetTextColor(platform::Color color) {
  textColor_ = color;
  auto& widget = Widget(*this);
  QPalette palette = widget.palette();
  palette.setColor(QPalette::WindowText, QColor::fromRgb(color.rgb));
  widget.setPalette(palette);
}

bool Label::RaiseMouseDown(std::int64_t x, std::int64_t y) {
  return Raise<bool>("MouseDown", *this, x, y);
}

void Label::RaiseOpen() { Raise<void>("Open", *this); }

void Label::ApplyTransparency() {
  RectControl::ApplyTransparency();
  // An opaque label's background goes beneath the controls already there, so that
  // where labels overlap no text is painted over.
  if (!Transparent()) Widget(*this).lower();
}

}  // namespace platform
