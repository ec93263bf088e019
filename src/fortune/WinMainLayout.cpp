#include "fortune/WinMain.h"
#include "fortune/WinMainDesign.h"
#include "platform/ControlBuilding.h"
#include "resources/Pictures.h"
#include "shell/MainMenuBar.h"

namespace fortune {

using platform::ApplyDesign, platform::AsDesignList, platform::BindEvent, platform::Canvas,
    platform::ControlNamed, platform::Label, platform::NewControl, platform::PushButton,
    platform::Ref, platform::RefTo;

void WinMain::Layout() {
  SetMenuBar(MainMenuBar());
  platform::SetProperties_(*this, AsDesignList(design::kWinMain));
}

void WinMain::CreateControls() { CreateControls0_(); }

void WinMain::CreateControls0_() {
  NewControl<Label>(*this, "lbl_Copyright");
  ApplyDesign<Label>(*this, "lbl_Copyright", AsDesignList(design::kLblCopyright));
  BindEvent<Label>(*this, "lbl_Copyright", "MouseDown", &WinMain::lbl_Copyright_MouseDown,
                   "( Label, Integer, Integer ) as Boolean");

  NewControl<PushButton>(*this, "btn_VisitWebsite");
  ApplyDesign<PushButton>(*this, "btn_VisitWebsite", AsDesignList(design::kBtnVisitWebsite));
  BindEvent<PushButton>(*this, "btn_VisitWebsite", "Action", &WinMain::btn_VisitWebsite_Action,
                        "( PushButton )");

  NewControl<Label>(*this, "lbl_instructions2");
  ApplyDesign<Label>(*this, "lbl_instructions2", AsDesignList(design::kLblInstructions2));

  NewControl<Label>(*this, "lbl_Instructions");
  ApplyDesign<Label>(*this, "lbl_Instructions", AsDesignList(design::kLblInstructions));

  NewControl<Label>(*this, "lResponse");
  ApplyDesign<Label>(*this, "lResponse", AsDesignList(design::kLResponse));

  NewControl<PushButton>(*this, "ShakeOrbivane");
  ApplyDesign<PushButton>(*this, "ShakeOrbivane", AsDesignList(design::kShakeOrbivane));
  BindEvent<PushButton>(*this, "ShakeOrbivane", "Action", &WinMain::ShakeOrbivane_Action,
                        "( PushButton )");

  NewControl<Canvas>(*this, "Canvas1");
  ControlNamed<Canvas>(RefTo(*this), "Canvas1")->SetBackdrop(ballsmall1());
  ApplyDesign<Canvas>(*this, "Canvas1", AsDesignList(design::kCanvas1));
  BindEvent<Canvas>(*this, "Canvas1", "MouseDown", &WinMain::Canvas1_MouseDown,
                    "( Canvas, Integer, Integer ) as Boolean");
  BindEvent<Canvas>(*this, "Canvas1", "Open", &WinMain::Canvas1_Open, "( Canvas )");

  NewControl<PushButton>(*this, "btn_quit");
  ApplyDesign<PushButton>(*this, "btn_quit", AsDesignList(design::kBtnQuit));
  BindEvent<PushButton>(*this, "btn_quit", "Action", &WinMain::btn_quit_Action, "( PushButton )");
}

Ref<Label> WinMain::lbl_Copyright() { return ControlNamed<Label>(RefTo(*this), "lbl_Copyright"); }

Ref<PushButton> WinMain::btn_VisitWebsite() {
  return ControlNamed<PushButton>(RefTo(*this), "btn_VisitWebsite");
}

Ref<Label> WinMain::lbl_instructions2() {
  return ControlNamed<Label>(RefTo(*this), "lbl_instructions2");
}

Ref<Label> WinMain::lbl_Instructions() {
  return ControlNamed<Label>(RefTo(*this), "lbl_Instructions");
}

Ref<Label> WinMain::lResponse() { return ControlNamed<Label>(RefTo(*this), "lResponse"); }

Ref<PushButton> WinMain::ShakeOrbivane() {
  return ControlNamed<PushButton>(RefTo(*this), "ShakeOrbivane");
}

Ref<Canvas> WinMain::Canvas1() { return ControlNamed<Canvas>(RefTo(*this), "Canvas1"); }

Ref<PushButton> WinMain::btn_quit() { return ControlNamed<PushButton>(RefTo(*this), "btn_quit"); }

}  // namespace fortune
