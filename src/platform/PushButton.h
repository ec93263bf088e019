#pragma once

#include <string>

#include "platform/TextControl.h"

namespace platform {

class PushButton : public TextControl {
 public:
  static const ClassInfo& Class();
  const ClassInfo& RuntimeClass() const override { return Class(); }

  PushButton();

  std::string Caption() const;
  void SetCaption(const std::string& caption);
  // The default button answers Return; the cancel button answers Escape.
  bool Default() const { return default_; }
  void SetDefault(bool isDefault);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool isCancel);

  // Presses the button as a click does.
  void Push();
  void RaiseOpen() override;

 protected:
  bool AcceptsFocus() const override { return true; }

 private:
  void RaiseAction();

  bool default_ = false;
  bool cancel_ = false;
};

}  // namespace platform
