#pragma once

#include "platform/DesignForms.h"
#include "platform/Label.h"
#include "platform/Window.h"

// The main window's design: the window and its eight controls, as constant
// design property lists.
namespace fortune::design {

using platform::CanvasDesign, platform::Encode, platform::Label, platform::LabelDesign,
    platform::PushButtonDesign, platform::Window, platform::WindowDesign;

inline constexpr auto kWinMain = Encode<[] {
  return WindowDesign{.width = 600,
                      .height = 400,
                      .title = "Orbivane",
                      .hasMaximizeButton = false,
                      .hasMinimizeButton = false,
                      .resizeable = false,
                      .defaultLocation = Window::CentredOnMainScreen};
}>();

inline constexpr auto kLblCopyright = Encode<[] {
  return LabelDesign{.name = "lbl_Copyright",
                     .left = 20,
                     .top = 331,
                     .width = 560,
                     .height = 38,
                     .tabIndex = 0,
                     .textAlignment = Label::AlignCentre,
                     .text = "Copyright Message Here",
                     .bold = true,
                     .italic = true,
                     .fontName = "Verdana",
                     .fontSize = 12};
}>();

inline constexpr auto kBtnVisitWebsite = Encode<[] {
  return PushButtonDesign{.name = "btn_VisitWebsite",
                          .left = 118,
                          .top = 369,
                          .width = 173,
                          .height = 20,
                          .tabIndex = 1,
                          .caption = "Click to Visit Website"};
}>();

inline constexpr auto kLblInstructions2 = Encode<[] {
  return LabelDesign{.name = "lbl_instructions2",
                     .left = 189,
                     .top = 50,
                     .width = 278,
                     .height = 32,
                     .tabIndex = 4,
                     .text = "With Many New Responses!",
                     .fontSize = 20};
}>();

inline constexpr auto kLblInstructions = Encode<[] {
  return LabelDesign{.name = "lbl_Instructions",
                     .left = 40,
                     .top = 15,
                     .width = 553,
                     .height = 45,
                     .tabIndex = 5,
                     .text = "I'm the Orbivane. Speak Your Question and Click Shake!",
                     .fontSize = 20};
}>();

inline constexpr auto kLResponse = Encode<[] {
  return LabelDesign{.name = "lResponse",
                     .left = 12,
                     .top = 305,
                     .width = 576,
                     .height = 29,
                     .tabIndex = 6,
                     .textAlignment = Label::AlignCentre,
                     .text = " ",
                     .bold = true,
                     .italic = true,
                     .fontSize = 20};
}>();

inline constexpr auto kShakeOrbivane = Encode<[] {
  return PushButtonDesign{.name = "ShakeOrbivane",
                          .left = 189,
                          .top = 250,
                          .width = 228,
                          .height = 38,
                          .tabIndex = 7,
                          .caption = "Click to Shake The Ball",
                          .fontSize = 18,
                          .bold = true};
}>();

inline constexpr auto kCanvas1 = Encode<[] {
  return CanvasDesign{
      .name = "Canvas1", .left = 235, .top = 94, .width = 162, .height = 144, .tabIndex = 8};
}>();

inline constexpr auto kBtnQuit = Encode<[] {
  return PushButtonDesign{.name = "btn_quit",
                          .left = 303,
                          .top = 369,
                          .width = 172,
                          .height = 20,
                          .tabIndex = 9,
                          .caption = "Quit"};
}>();

}  // namespace fortune::design
