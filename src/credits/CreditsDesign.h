#pragma once

#include "credits/CreditsText.h"
#include "platform/DesignForms.h"
#include "platform/Label.h"
#include "platform/Window.h"

// The credits window's design: the window and its five controls, as constant
// design property lists.
namespace credits::design {

using platform::CanvasDesign, platform::Encode, platform::Label, platform::LabelDesign,
    platform::PushButtonDesign, platform::Window, platform::WindowDesign;

inline constexpr auto kCredits = Encode<[] {
  return WindowDesign{.width = 830,
                      .height = 618,
                      .title = "Credits",
                      .hasMaximizeButton = false,
                      .hasMinimizeButton = false,
                      .resizeable = false,
                      .defaultLocation = Window::CentredOnMainScreen,
                      .visible = false};
}>();

inline constexpr auto kLblCredits = Encode<[] {
  return LabelDesign{.name = "lbl_credits",
                     .left = 153,
                     .top = 188,
                     .width = 523,
                     .height = 281,
                     .tabIndex = 0,
                     .multiline = true,
                     .textAlignment = Label::AlignCentre,
                     .text = kCreditsText,
                     .bold = true,
                     .italic = true,
                     .fontName = "verdena",
                     .fontSize = 16};
}>();

inline constexpr auto kCanvas1 = Encode<[] {
  return CanvasDesign{
      .name = "Canvas1", .left = 275, .top = 0, .width = 280, .height = 167, .tabIndex = 1};
}>();

inline constexpr auto kBtnVisitOurWebsite = Encode<[] {
  return PushButtonDesign{.name = "btn_VisitOurWebsite",
                          .left = 275,
                          .top = 512,
                          .width = 134,
                          .height = 20,
                          .tabIndex = 2,
                          .caption = "Visit Our Website"};
}>();

inline constexpr auto kBtnExit = Encode<[] {
  return PushButtonDesign{.name = "btn_exit",
                          .left = 375,
                          .top = 565,
                          .width = 80,
                          .height = 20,
                          .tabIndex = 3,
                          .caption = "Exit"};
}>();

inline constexpr auto kBtnContactUs = Encode<[] {
  return PushButtonDesign{.name = "btn_contactUs",
                          .left = 421,
                          .top = 512,
                          .width = 134,
                          .height = 20,
                          .tabIndex = 4,
                          .caption = "Contact Us Now"};
}>();

}  // namespace credits::design
