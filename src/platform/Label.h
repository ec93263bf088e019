#pragma once

#include <cstdint>
#include <string>

#include "platform/TextControl.h"
#include "platform/Value.h"

namespace platform {

class Label : public TextControl {
 public:
  static const ClassInfo& Class();
  const ClassInfo& RuntimeClass() const override { return Class(); }

  enum Alignment : std::int64_t {
    AlignDefault = 0,
    AlignLeft = 1,
    AlignCentre = 2,
    AlignRight = 3
  };

  Label();

  // Text and Value are two names of one caption. The text is kept byte for byte;
  // its carriage returns show as line breaks.
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  const std::string& Value() const { return text_; }
  void SetValue(const std::string& text) { SetText(text); }

  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool multiLine);
  bool Selectable() const { return selectable_; }
  void SetSelectable(bool selectable);
  std::int64_t TextAlignment() const { return alignment_; }
  void SetTextAlignment(std::int64_t alignment);
  platform::Color TextColor() const { return textColor_; }
  void SetTextColor(platform::Color color);

  // What a mouse-down on the label does: its handler's answer, false without one.
  bool RaiseMouseDown(std::int64_t x, std::int64_t y);
  void RaiseOpen() override;

 protected:
  void ApplyTransparency() override;

 private:
  std::string text_;
  bool multiLine_ = false;
  bool selectable_ = false;
  std::int64_t alignment_ = AlignDefault;
  platform::Color textColor_;
};

}  // namespace platform
