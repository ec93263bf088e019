#include "platform/Runtime.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "platform/Application.h"
#include "platform/Canvas.h"
#include "platform/Effects.h"
#include "platform/FolderItem.h"
#include "platform/Label.h"
#include "platform/MenuItem.h"
#include "platform/Picture.h"
#include "platform/PushButton.h"
#include "platform/Sound.h"
#include "platform/System.h"
#include "platform/Timer.h"
#include "platform/Window.h"
#include "platform/audio/LibraryMessages.h"
#include "platform/qt/DeferredIconStyle.h"
#include "platform/qt/Display.h"

namespace platform {
namespace {

struct RuntimeState {
  std::unique_ptr<QApplication> qtApp;
  std::vector<Initializer> initializers;
  ExceptionHelper helper = nullptr;
  double targetVersion = 0;
  bool hiDPI = false;
  Ref<Application> app;
  std::vector<std::pair<std::string, Ref<Window>>> implicitWindows;
  int exitCode = 0;
  bool quitCalled = false;
  bool terminating = false;
  UnhandledExceptionReporter reporter;
};

RuntimeState& State() {
  // Never destroyed: see RuntimeInit.
  static RuntimeState& state = *new RuntimeState;
  return state;
}

std::string ProgramName() {
  return QCoreApplication::instance() ? QCoreApplication::applicationName().toStdString()
                                      : std::string("orbivane");
}

void Report(const std::string& className, const std::string& message) {
  auto& state = State();
  if (state.reporter) {
    state.reporter(className, message);
    return;
  }
  std::fprintf(stderr, "%s: unhandled %s: %s\n", ProgramName().c_str(), className.c_str(),
               message.c_str());
}

void ReportException(std::exception_ptr exception) {
  try {
    std::rethrow_exception(std::move(exception));
  } catch (const RuntimeException& e) {
    Report(e.ClassName(), e.Message());
  } catch (const std::exception& e) {
    Report("std::exception", e.what());
  } catch (...) {
    Report("exception", "of an unknown kind");
  }
}

// The designs were laid out with a system font of Helvetica's widths; the usual
// Linux fonts are wider and would cut off the end of a line. The whole application,
// menus and message boxes too, uses such a font where the system has one.
void UseSystemFont() {
  QFont font = QApplication::font();
  font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Helvetica"),
                    QStringLiteral("Arial"), font.family()});
  font.setStyleHint(QFont::SansSerif);
  QApplication::setFont(font);
}

void RegisterRuntimeClasses() {
  Object::Class();
  Application::Class();
  Window::Class();
  Control::Class();
  RectControl::Class();
  Label::Class();
  PushButton::Class();
  Canvas::Class();
  MenuItem::Class();
  MenuBar::Class();
  QuitMenuItem::Class();
  ApplicationMenuItem::Class();
  Timer::Class();
  Picture::Class();
  FolderItem::Class();
  Sound::Class();
  Random::Class();
}

}  // namespace

void RuntimeInit(int& argc, char** argv) {
  std::string program = "orbivane";
  if (argc > 0) program = QFileInfo(QString::fromLocal8Bit(argv[0])).fileName().toStdString();
  // Qt calls exit() when the connection to the X display breaks; while the
  // application exists, the guard then ends the process at once. Exit handlers run
  // in the reverse order of their installation, so whatever is made after the guard
  // is destroyed before it runs. Hence the guard comes first, and no static object
  // of the runtime or the program may have a destructor that touches Qt objects,
  // waits, or tears down something still in use: such an object is made on the heap,
  // held by a static that is never destroyed, and let go of on the program's own way
  // out (RuntimePerformFinalizers and RuntimeExit).
  static const bool guarded = GuardExit(program);
  (void)guarded;
  auto& state = State();
  if (state.qtApp) return;
  // Before Qt starts any thread.
  audio::QuietenAudioLibraries();
  state.qtApp = OpenDisplay(argc, argv, program);
  QApplication::setStyle(new DeferredIconStyle);
  UseSystemFont();
}

void RuntimePerformInitializers(const std::vector<Initializer>& program) {
  RegisterRuntimeClasses();
  auto& state = State();
  state.exitCode = 0;
  state.quitCalled = false;
  state.terminating = false;
  state.initializers = program;
  for (const auto& module : state.initializers) {
    if (module.initialize) module.initialize();
  }
}

void RuntimeSetExceptionHelper_(ExceptionHelper helper) { State().helper = helper; }

void RuntimeSetTargetVersion_(double version) { State().targetVersion = version; }

void SetSupportsHiDPI_(bool supported) { State().hiDPI = supported; }

bool SupportsHiDPI() { return State().hiDPI; }

void RuntimeInitExternalClasses_() {
  // The runtime's own classes are plain C++ here and need no description beyond
  // those registered with the initialisers.
}

void InitPluginEntrypoints_() {
  // No extensions are loaded into this runtime.
}

void RuntimeRegisterAppObject_(const Ref<Application>& app) { State().app = app; }

Ref<Application> GetAppObject_() { return State().app; }

void RunFrameworkInitialization_(void (*lateStartup)()) {
  // A failure here leaves no main window; it goes on to the start-up driver so the
  // program ends instead of running a loop that nothing can reach.
  lateStartup();
}

void RuntimeRun_() {
  auto& state = State();
  const Ref<Application> app = state.app;
  if (app) RaiseEvent([&] { app->Event_Open(); });
  if (!state.quitCalled) {
    const int code = QApplication::exec();
    if (!state.quitCalled) state.exitCode = code;
  }
  state.terminating = true;
  if (app) RaiseEvent([&] { app->Event_Close(); });
}

void UnhandledException_(std::exception_ptr exception) {
  ReportException(std::move(exception));
  State().exitCode = 1;
}

void RuntimePerformFinalizers() {
  auto& state = State();
  for (auto it = state.initializers.rbegin(); it != state.initializers.rend(); ++it) {
    if (it->finalize) it->finalize();
  }
  state.initializers.clear();
  // Qt objects must go before the QApplication does.
  state.implicitWindows.clear();
  state.app = nullptr;
  ResetEffects();
}

int ExitStatus() { return State().exitCode; }

int RuntimeExit() {
  auto& state = State();
  state.qtApp.reset();
  return state.exitCode;
}

void Quit(std::int64_t code) {
  auto& state = State();
  state.quitCalled = true;
  state.exitCode = int(code);
  QCoreApplication::exit(int(code));
}

bool QuitRequested() { return State().quitCalled; }

Ref<Window> GetImplicitWindow_(std::string_view className) {
  for (const auto& [name, window] : State().implicitWindows) {
    if (name == className) return window;
  }
  return nullptr;
}

void RaiseEvent(const std::function<void()>& handler) {
  // The program's exception helper hands back what escaped; without one, whatever
  // escapes is caught below all the same.
  try {
    if (const ExceptionHelper helper = State().helper) {
      if (auto escaped = helper(handler)) Report(escaped->ClassName(), escaped->Message());
    } else {
      handler();
    }
  } catch (...) {
    ReportException(std::current_exception());
  }
}

bool RaiseEventForResult(const std::function<bool()>& handler) {
  bool result = false;
  bool completed = false;
  RaiseEvent([&] {
    result = handler();
    completed = true;
  });
  return completed && result;
}

void SetUnhandledExceptionReporter(UnhandledExceptionReporter reporter) {
  State().reporter = std::move(reporter);
}

bool IsTerminating() { return State().terminating; }

namespace detail {

void RegisterImplicitWindow(const std::string& className, const Ref<Window>& window) {
  State().implicitWindows.emplace_back(className, window);
}

void ForgetImplicitWindow(const Window& window) {
  auto& windows = State().implicitWindows;
  std::erase_if(windows, [&](const auto& entry) { return entry.second.get() == &window; });
}

}  // namespace detail

}  // namespace platform
