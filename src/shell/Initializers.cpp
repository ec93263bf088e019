#include "credits/Credits.h"
#include "fortune/Shaker.h"
#include "fortune/WinMain.h"
#include "resources/Pictures.h"
#include "resources/SandShake.h"
#include "shell/App.h"
#include "shell/MainMenuBar.h"
#include "shell/Startup.h"

std::vector<platform::Initializer> ProgramInitializers() {
  // Module variables start empty; their finalisers let go of what they hold before
  // the toolkit goes away.
  return {
      {"App", [] { shell::App::Class(); }, nullptr},
      {"WinMain", [] { fortune::WinMain::Class(); }, nullptr},
      {"MainMenuBar._implicitInstance", nullptr, shell::ReleaseMainMenuBar},
      {"MainMenuBar", [] { shell::MainMenuBar::Class(); }, nullptr},
      {"Credits", [] { credits::Credits::Class(); }, nullptr},
      {"cShaker", [] { fortune::cShaker::Class(); }, nullptr},
      {"Shaker.pShaker", nullptr, [] { fortune::pShaker = nullptr; }},
      {"sandshake", nullptr, resources::ReleaseSandShake},
      {"pictures", nullptr, resources::ReleasePictures},
  };
}
