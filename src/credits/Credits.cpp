#include "credits/Credits.h"

#include "credits/CreditsDesign.h"
#include "fortune/WinMain.h"
#include "platform/ControlBuilding.h"
#include "platform/Runtime.h"
#include "platform/System.h"
#include "resources/Pictures.h"

namespace credits {

using platform::ApplyDesign, platform::AsDesignList, platform::BindEvent, platform::Canvas,
    platform::ControlNamed, platform::Label, platform::NewControl, platform::PushButton,
    platform::Ref, platform::RefTo;

namespace {

constexpr char kClassName[] = "Credits.Credits";

}  // namespace

const platform::ClassInfo& Credits::Class() {
  static const platform::ClassInfo& info =
      platform::RegisterClass({.name = kClassName,
                               .base = &Window::Class(),
                               .handledEvents = {"CreateControls", "Layout"},
                               .attributes = {{"CreateControls0_", "Hidden", ""}}});
  return info;
}

void Credits::Layout() { platform::SetProperties_(*this, AsDesignList(design::kCredits)); }

void Credits::CreateControls() { CreateControls0_(); }

void Credits::CreateControls0_() {
  NewControl<Label>(*this, "lbl_credits");
  ApplyDesign<Label>(*this, "lbl_credits", AsDesignList(design::kLblCredits));

  NewControl<Canvas>(*this, "Canvas1");
  ControlNamed<Canvas>(RefTo(*this), "Canvas1")->SetBackdrop(TarnwickUpdatedLogosmall());
  ApplyDesign<Canvas>(*this, "Canvas1", AsDesignList(design::kCanvas1));
  BindEvent<Canvas>(*this, "Canvas1", "MouseDown", &Credits::Canvas1_MouseDown,
                    "( Canvas, Integer, Integer ) as Boolean");

  NewControl<PushButton>(*this, "btn_VisitOurWebsite");
  ApplyDesign<PushButton>(*this, "btn_VisitOurWebsite", AsDesignList(design::kBtnVisitOurWebsite));
  BindEvent<PushButton>(*this, "btn_VisitOurWebsite", "Action",
                        &Credits::btn_VisitOurWebsite_Action, "( PushButton )");

  NewControl<PushButton>(*this, "btn_exit");
  ApplyDesign<PushButton>(*this, "btn_exit", AsDesignList(design::kBtnExit));
  BindEvent<PushButton>(*this, "btn_exit", "Action", &Credits::btn_exit_Action, "( PushButton )");

  NewControl<PushButton>(*this, "btn_contactUs");
  ApplyDesign<PushButton>(*this, "btn_contactUs", AsDesignList(design::kBtnContactUs));
  BindEvent<PushButton>(*this, "btn_contactUs", "Action", &Credits::btn_contactUs_Action,
                        "( PushButton )");
}

Ref<Label> Credits::lbl_credits() { return ControlNamed<Label>(RefTo(*this), "lbl_credits"); }

Ref<Canvas> Credits::Canvas1() { return ControlNamed<Canvas>(RefTo(*this), "Canvas1"); }

Ref<PushButton> Credits::btn_VisitOurWebsite() {
  return ControlNamed<PushButton>(RefTo(*this), "btn_VisitOurWebsite");
}

Ref<PushButton> Credits::btn_exit() { return ControlNamed<PushButton>(RefTo(*this), "btn_exit"); }

Ref<PushButton> Credits::btn_contactUs() {
  return ControlNamed<PushButton>(RefTo(*this), "btn_contactUs");
}

bool Credits::Canvas1_MouseDown(platform::Canvas&, std::int64_t, std::int64_t) {
  platform::ShowURL(WinMain()->WebsiteURL);
  return false;
}

void Credits::btn_VisitOurWebsite_Action(platform::PushButton&) {
  platform::ShowURL(WinMain()->WebsiteURL);
}

void Credits::btn_exit_Action(platform::PushButton&) { platform::Quit(0); }

void Credits::btn_contactUs_Action(platform::PushButton&) {
  platform::ShowURL(WinMain()->ContactURL);
}

}  // namespace credits

platform::Ref<credits::Credits> Credits() { return platform::ImplicitInstance<credits::Credits>(); }
