#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/Ref.h"

// Naming: the runtime's internal entry points, and the calls that a program's
// start-up and window building make into it, end in an underscore (Main_, New_,
// AddControl_): apart from the program's own names, and clear of the leading
// underscores that C++ reserves.

namespace platform {

class Application;
class Window;

// One module's set-up and clean-up: a class registration or a module variable.
struct Initializer {
  std::string name;
  std::function<void()> initialize;
  std::function<void()> finalize;
};

// Runs program code and hands back a RuntimeException that escaped it; any other
// exception passes on.
using ExceptionHelper = std::shared_ptr<RuntimeException> (*)(const std::function<void()>&);

// Start-up and exit, in the order in which the program's entry calls them.
void RuntimeInit(int& argc, char** argv);
void RuntimePerformInitializers(const std::vector<Initializer>& program);
void RuntimeSetExceptionHelper_(ExceptionHelper helper);
void RuntimeSetTargetVersion_(double version);
void SetSupportsHiDPI_(bool supported);
void RuntimeInitExternalClasses_();
void InitPluginEntrypoints_();
void RuntimeRegisterAppObject_(const Ref<Application>& app);
Ref<Application> GetAppObject_();
void RunFrameworkInitialization_(void (*lateStartup)());
void RuntimeRun_();
void UnhandledException_(std::exception_ptr exception);
void RuntimePerformFinalizers();
int RuntimeExit();

bool SupportsHiDPI();
// The status that RuntimeExit will return.
int ExitStatus();

// Ends the event loop; the process exits with the code.
void Quit(std::int64_t code = 0);
// Whether Quit has been called in this run.
bool QuitRequested();

// The implicit window of a class, or nil when there is none yet.
Ref<Window> GetImplicitWindow_(std::string_view className);

// Runs an event handler as the event loop does: an exception that escapes it is
// reported and the program goes on. The second form answers false when the
// handler raised.
void RaiseEvent(const std::function<void()>& handler);
bool RaiseEventForResult(const std::function<bool()>& handler);

// Where unhandled exceptions are reported: one line on stderr unless a test
// listens instead.
using UnhandledExceptionReporter =
    std::function<void(const std::string& className, const std::string& message)>;
void SetUnhandledExceptionReporter(UnhandledExceptionReporter reporter);

// True once the event loop has ended and the program is on its way out.
bool IsTerminating();

namespace detail {
void RegisterImplicitWindow(const std::string& className, const Ref<Window>& window);
void ForgetImplicitWindow(const Window& window);
}  // namespace detail

}  // namespace platform
