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

bool WinMain::IsEventImplemented(const std::string& event) const {
  return platform::RuntimeIsEventHandled_(*this, kClassName, event, true);
}

}  // namespace fortune

platform::Ref<fortune::WinMain> WinMain() {
  platform::Ref<platform::Window> window = platform::GetImplicitWindow_("WinMain.WinMain");
  if (!window) {
    auto created = platform::New<fortune::WinMain>();
    created->Constructor();
    window = created;
  }
  return platform::RuntimeCheckCast<fortune::WinMain>(window);
}
