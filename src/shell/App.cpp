#include "shell/App.h"

#include "credits/Credits.h"
#include "fortune/WinMain.h"
#include "platform/Runtime.h"

namespace shell {

const platform::ClassInfo& App::Class() {
  static const platform::ClassInfo& info = platform::RegisterClass(
      {.name = "App", .base = &Application::Class(), .handledEvents = {"Close", "Open"}});
  return info;
}

void App::Event_Open() {
  Wleft = WinMain()->Left();
  Wtop = WinMain()->Top();
}

void App::Event_Close() { QuitApp(); }

void App::QuitApp() {
  WinMain()->SetVisible(false);
  Credits()->SetVisible(true);
}

void App::ResetWindowPosition() {
  WinMain()->SetLeft(Wleft);
  WinMain()->SetTop(Wtop);
}

}  // namespace shell

platform::Ref<shell::App> App() {
  return platform::RuntimeCheckCast<shell::App>(platform::GetAppObject_());
}
