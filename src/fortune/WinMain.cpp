#include "fortune/WinMain.h"

#include "platform/Runtime.h"

namespace fortune {
namespace {

constexpr char kClassName[] = "WinMain.WinMain";

}  // namespace

const platform::ClassInfo& WinMain::Class() {
  static const platform::ClassInfo& info = platform::RegisterClass(
      {.name = kClassName,
       .base = &Window::Class(),
       .handledEvents = {"AddMenuHandlers", "Close", "CreateControls", "Layout", "Open"},
       .attributes = {{"CreateControls0_", "Hidden", ""}}});
  return info;
}

WinMain::WinMain() : Copyright("Copyright (c) Tarnwick. All rights reserved.") {}

}  // namespace fortune

platform::Ref<fortune::WinMain> WinMain() { return platform::ImplicitInstance<fortune::WinMain>(); }
