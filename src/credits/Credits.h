#pragma once

#include <cstdint>
#include <string>

#include "platform/Canvas.h"
#include "platform/Label.h"
#include "platform/PushButton.h"
#include "platform/Ref.h"
#include "platform/Window.h"

namespace credits {

// The goodbye screen shown when the user leaves the main window: the thank-you
// text, the maker's logo, links to the web site and the contact page, and Exit.
class Credits : public platform::Window {
 public:
  static const platform::ClassInfo& Class();
  const platform::ClassInfo& RuntimeClass() const override { return Class(); }

  void Layout() override;
  void CreateControls() override;
  void CreateControls0_();

  platform::Ref<platform::Label> lbl_credits();
  platform::Ref<platform::Canvas> Canvas1();
  platform::Ref<platform::PushButton> btn_VisitOurWebsite();
  platform::Ref<platform::PushButton> btn_exit();
  platform::Ref<platform::PushButton> btn_contactUs();

  bool Canvas1_MouseDown(platform::Canvas& sender, std::int64_t x, std::int64_t y);
  void btn_VisitOurWebsite_Action(platform::PushButton& sender);
  void btn_exit_Action(platform::PushButton& sender);
  void btn_contactUs_Action(platform::PushButton& sender);
};

}  // namespace credits

// The credits window, built hidden on the first call.
platform::Ref<credits::Credits> Credits();
