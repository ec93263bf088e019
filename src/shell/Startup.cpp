#include "shell/Startup.h"

#include "fortune/WinMain.h"
#include "shell/App.h"
#include "shell/MainMenuBar.h"

int RunProgram(int argc, char** argv) {
  platform::RuntimeInit(argc, argv);
  platform::RuntimePerformInitializers(ProgramInitializers());
  Main_();
  platform::RuntimePerformFinalizers();
  return platform::RuntimeExit();
}

void Main_() {
  try {
    platform::RuntimeSetExceptionHelper_(&CallFunctionWithExceptionHandling_);
    platform::RuntimeSetTargetVersion_(2021.021);
    EarlyStartup_();
    platform::RunFrameworkInitialization_(&LateStartup_);
    platform::RuntimeRun_();
  } catch (...) {
    platform::UnhandledException_(std::current_exception());
  }
}

void EarlyStartup_() {
  platform::SetSupportsHiDPI_(true);
  platform::RuntimeInitExternalClasses_();
  platform::InitPluginEntrypoints_();
  InitFileTypes_();
  NewAppInstance_();
  ApplicationAddMenuHandlers_();
}

void InitFileTypes_() {
  // The program opens no documents.
}

void NewAppInstance_() {
  auto app = platform::New<shell::App>();
  app->Constructor();
  app->_x_SetVersionData(1, 0, 0, 0, 0, "", "", "");
  app->SetMenuBar(MainMenuBar());
  platform::RuntimeRegisterAppObject_(app);
}

void ApplicationAddMenuHandlers_() {
  // Every menu handler belongs to the main window.
}

void LateStartup_() { MakeDefaultView_(); }

void MakeDefaultView_() { WinMain(); }

std::shared_ptr<platform::RuntimeException> CallFunctionWithExceptionHandling_(
    const std::function<void()>& function) {
  try {
    function();
    return nullptr;
  } catch (const platform::RuntimeException& e) {
    return e.Clone();
  }
}
