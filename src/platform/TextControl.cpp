#include "platform/TextControl.h"

#include <QApplication>
#include <QFont>
#include <algorithm>

#include "platform/PropertyTable.h"
#include "platform/qt/ControlPeer.h"

namespace platform {

std::vector<PropertyInfo> TextControl::FontProperties() {
  return {Property("FontName", &TextControl::SetFontName),
          Property("FontSize", &TextControl::SetFontSize),
          StoredProperty("FontUnit", ValueType::FontUnit),
          Property("Bold", &TextControl::SetBold),
          Property("Italic", &TextControl::SetItalic),
          Property("Underline", &TextControl::SetUnderline)};
}

void TextControl::SetFontName(const std::string& name) {
  fontName_ = name;
  ApplyFont();
}

void TextControl::SetFontSize(float size) {
  fontSize_ = size;
  ApplyFont();
}

void TextControl::SetBold(bool bold) {
  bold_ = bold;
  ApplyFont();
}

void TextControl::SetItalic(bool italic) {
  italic_ = italic;
  ApplyFont();
}

void TextControl::SetUnderline(bool underline) {
  underline_ = underline;
  ApplyFont();
}

void TextControl::ApplyFont() {
  RequireMainThread("TextControl.Font");
  // "System" is the application's font; a family the system lacks falls back to it.
  QFont font = QApplication::font();
  if (fontName_ != "System" && !fontName_.empty()) {
    font.setFamilies(QStringList{QString::fromStdString(fontName_)} + font.families());
  }
  // Sizes are given as on the screen they were designed for, where a point is one
  // pixel; Qt's points would make every text a third larger than its control.
  // A size past what any screen shows is held to it, not converted out of range.
  constexpr float kLargest = 4096;
  if (fontSize_ > 0) font.setPixelSize(int(std::min(fontSize_, kLargest) + 0.5f));
  font.setBold(bold_);
  font.setItalic(italic_);
  font.setUnderline(underline_);
  ControlPeer().widget->setFont(font);
}

}  // namespace platform
