#include "shell/Startup.h"

#include "fortune/WinMain.h"
#include "shell/App.h"
#include "shell/MainMenuBar.h"

int RunProgram(int argc, char** argv) {
  platform::RuntimeInit(argc, argv);
  platform::RuntimePerformInitializers(ProgramInitializers());
  _Main();
  platform::RuntimePerformFinalizers();
  return platform::RuntimeExit();
}

void _Main() {
  try {
    platform::_RuntimeSetExceptionHelper(&_CallFunctionWithExceptionHandling);
    platform::_RuntimeSetTargetVersion(2021.021);
    _EarlyStartup();
    platform::_RunFrameworkInitialization(&_LateStartup);
    platform::_RuntimeRun();
  } catch (...) {
    platform::_UnhandledException(std::current_exception());
  }
}

void _EarlyStartup() {
  platform::_SetSupportsHiDPI(true);
  platform::_RuntimeInitExternalClasses();
  platform::_InitPluginEntrypoints();
  _InitFileTypes();
  _NewAppInstance();
  _ApplicationAddMenuHandlers();
}

void _InitFileTypes() {
  // The program opens no documents.
}

void _NewAppInstance() {
  auto app = platform::New<shell::App>();
  app->Constructor();
  app->_x_SetVersionData(1, 0, 0, 0, 0, "", "", "");
  app->SetMenuBar(MainMenuBar());
  platform::_RuntimeRegisterAppObject(app);
}

void _ApplicationAddMenuHandlers() {
  // Every menu handler belongs to the main window.
}

void _LateStartup() { _MakeDefaultView(); }

void _MakeDefaultView() { WinMain(); }

std::shared_ptr<platform::RuntimeException> _CallFunctionWithExceptionHandling(
    const std::function<void()>& function) {
  try {
    function();
    return nullptr;
  } catch (const platform::RuntimeException& e) {
    return e.Clone();
  }
}
