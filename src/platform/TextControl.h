#pragma once

#include <string>
#include <vector>

#include "platform/Control.h"

namespace platform {

// What labels and push buttons share: the font of their text. "System" is the
// platform's own font, and size 0 its default size.
class TextControl : public RectControl {
 public:
  const std::string& FontName() const { return fontName_; }
  void SetFontName(const std::string& name);
  float FontSize() const { return fontSize_; }
  void SetFontSize(float size);
  bool Bold() const { return bold_; }
  void SetBold(bool bold);
  bool Italic() const { return italic_; }
  void SetItalic(bool italic);
  bool Underline() const { return underline_; }
  void SetUnderline(bool underline);

 protected:
  using RectControl::RectControl;
  static std::vector<PropertyInfo> FontProperties();

 private:
  void ApplyFont();

  std::string fontName_ = "System";
  float fontSize_ = 0;
  bool bold_ = false;
  bool italic_ = false;
  bool underline_ = false;
};

}  // namespace platform
