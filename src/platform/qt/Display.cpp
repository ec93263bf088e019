#include "platform/qt/Display.h"

#include <unistd.h>
#include <xcb/xcb.h>

#include <QByteArrayView>
#include <QDir>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QPluginLoader>
#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <tuple>
#include <vector>

namespace platform {
namespace {

const char kNoDisplay[] =
    "no display available: set DISPLAY (X11) or WAYLAND_DISPLAY, or run with "
    "QT_QPA_PLATFORM=offscreen";

constexpr int kNoDisplayStatus = 2;
constexpr int kDisplayLostStatus = 1;

std::string program = "orbivane";
// What the program opens its display with.
detail::DisplaySettings displaySettings;

[[noreturn]] void ExitForNoDisplay(const char* name, const std::string& why) {
  std::fprintf(stderr, "%s: %s\n", name, why.c_str());
  std::fflush(stderr);
  _exit(kNoDisplayStatus);
}

std::string Environment(const char* name) { return qEnvironmentVariable(name).toStdString(); }

// The keys of the platform plug-ins that Qt would find, read from their metadata
// without loading them.
std::vector<std::string> InstalledPlatforms() {
  std::vector<std::string> keys;
  for (const QString& path : QCoreApplication::libraryPaths()) {
    const QDir folder(path + QStringLiteral("/platforms"));
    for (const QString& file : folder.entryList(QDir::Files)) {
      const QJsonObject metaData = QPluginLoader(folder.filePath(file)).metaData();
      for (const QJsonValue key : metaData.value(QStringLiteral("MetaData"))
                                      .toObject()
                                      .value(QStringLiteral("Keys"))
                                      .toArray()) {
        std::string name = key.toString().toLower().toStdString();
        if (!name.empty() && std::find(keys.begin(), keys.end(), name) == keys.end()) {
          keys.push_back(std::move(name));
        }
      }
    }
  }
  return keys;
}

// While Qt opens the display, a failure ends in qFatal and an abort with a core
// dump; report it in one line instead. The platform plug-in's own complaints are
// held back so that they do not bury that line, and passed on if all goes well.
QtMessageHandler startupPrevious = nullptr;
std::vector<std::tuple<QtMsgType, std::string, QString>> heldMessages;

void StartupMessageHandler(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
  if (type == QtFatalMsg) {
    detail::DisplaySettings tried = displaySettings;
    tried.installed = InstalledPlatforms();
    ExitForNoDisplay(program.c_str(), detail::NoDisplayLine(tried));
  }
  if (QByteArrayView(context.category ? context.category : "").startsWith("qt.qpa")) {
    heldMessages.emplace_back(type, context.category, message);
    return;
  }
  startupPrevious(type, context, message);
}

// When the X server goes away, Qt says so in its own words and calls exit(), whose
// handlers would destroy the program's windows after Qt has let go of the display.
// The first message after the connection broke, or that exit(), ends the program
// here instead: one line, and nothing torn down.
std::atomic<xcb_connection_t*> watched = nullptr;
QtMessageHandler runningPrevious = nullptr;

bool DisplayLost() {
  xcb_connection_t* connection = watched;
  return connection && xcb_connection_has_error(connection);
}

[[noreturn]] void ExitForLostDisplay(int status) {
  std::fprintf(stderr, "%s: the connection to the display %s was lost\n", program.c_str(),
               displaySettings.x11.c_str());
  std::fflush(nullptr);
  _exit(status);
}

void RunningMessageHandler(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
  if (DisplayLost()) ExitForLostDisplay(kDisplayLostStatus);
  runningPrevious(type, context, message);
}

// An exit() while the application still exists does not come from the program's
// own way out, which destroys the application first: nothing that holds Qt objects
// may be torn down then. The process ends here, before the exit handlers installed
// earlier than this one run (those installed later have run already: see
// RuntimeInit).
void LeaveWithoutTearingDown(int status, void*) {
  if (!QCoreApplication::instance()) return;
  if (DisplayLost()) ExitForLostDisplay(status != 0 ? status : kDisplayLostStatus);
  std::fflush(nullptr);
  _exit(status);
}

void WatchDisplay() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || !x11->connection()) return;
  watched = x11->connection();
  runningPrevious = qInstallMessageHandler(RunningMessageHandler);
}

void StopWatchingDisplay() {
  if (!watched) return;
  qInstallMessageHandler(runningPrevious);
  watched = nullptr;
}

// Stops watching the display before Qt lets go of it.
class WatchedApplication : public QApplication {
 public:
  using QApplication::QApplication;
  ~WatchedApplication() override { StopWatchingDisplay(); }
};

std::vector<std::string> PlatformNames(const std::string& setting) {
  std::vector<std::string> names;
  for (const QString& entry : QString::fromStdString(setting).split(QLatin1Char(';'))) {
    const QString name = entry.section(QLatin1Char(':'), 0, 0).trimmed().toLower();
    if (!name.isEmpty()) names.push_back(name.toStdString());
  }
  return names;
}

// Qt reads "--name" as "-name"; a value is always the next argument.
std::string_view OptionName(std::string_view argument) {
  return argument.starts_with("--") ? argument.substr(1) : argument;
}

// Qt's options that take the next argument as their value, besides -platform and
// -display.
constexpr std::array<std::string_view, 5> kOptionsWithValue = {
    "-platformpluginpath", "-platformtheme", "-qwindowgeometry", "-qwindowicon", "-qwindowtitle"};
constexpr std::array<std::string_view, 3> kXOptionsWithValue = {"-geometry", "-title", "-icon"};
constexpr std::array<std::string_view, 2> kXPluginOptionsWithValue = {"-name", "-visual"};

template <size_t N>
bool IsOneOf(std::string_view option, const std::array<std::string_view, N>& options) {
  return std::find(options.begin(), options.end(), option) != options.end();
}

}  // namespace

bool GuardExit(const std::string& name) {
  program = name;
  if (on_exit(LeaveWithoutTearingDown, nullptr) == 0) return true;
  std::fprintf(stderr,
               "%s: cannot install the exit handler: a lost display may crash the program\n",
               name.c_str());
  return false;
}

std::unique_ptr<QApplication> OpenDisplay(int& argc, char** argv, const std::string& name) {
  program = name;
  displaySettings = detail::ReadDisplaySettings(argc, argv);
  detail::ChooseDisplay(displaySettings, program.c_str());
  startupPrevious = qInstallMessageHandler(StartupMessageHandler);
  auto app = std::make_unique<WatchedApplication>(argc, argv);
  qInstallMessageHandler(startupPrevious);
  for (const auto& [type, category, message] : heldMessages) {
    QMessageLogContext context(nullptr, 0, nullptr, category.c_str());
    startupPrevious(type, context, message);
  }
  heldMessages.clear();
  WatchDisplay();
  return app;
}

namespace detail {

DisplaySettings ReadDisplaySettings(int argc, const char* const* argv) {
  DisplaySettings read{.platform = Environment("QT_QPA_PLATFORM"),
                       .x11 = Environment("DISPLAY"),
                       .wayland = Environment("WAYLAND_DISPLAY")};
  // Qt first takes the platform, and the values of the options that have one, out
  // of the arguments; X's own names for some of those options count while X is the
  // platform named so far (or none is: X is Qt's default here).
  std::vector<std::string_view> rest;
  for (int i = 1; i < argc; ++i) {
    const std::string_view option = OptionName(argv[i]);
    const bool onX = read.platform.empty() || read.platform.starts_with("xcb");
    if (option == "-platform") {
      if (++i < argc) {
        read.platform = argv[i];
        read.platformOnCommandLine = true;
      }
    } else if (IsOneOf(option, kOptionsWithValue) || (onX && IsOneOf(option, kXOptionsWithValue))) {
      ++i;
    } else {
      rest.emplace_back(argv[i]);
    }
  }
  // The X plug-in reads its display from what is left; an empty name leaves
  // DISPLAY's.
  std::string_view display;
  for (size_t i = 0; i + 1 < rest.size(); ++i) {
    const std::string_view option = OptionName(rest[i]);
    if (option == "-display") {
      display = rest[++i];
    } else if (IsOneOf(option, kXPluginOptionsWithValue)) {
      ++i;
    }
  }
  if (!display.empty()) read.x11 = display;
  return read;
}

void ChooseDisplay(const DisplaySettings& chosen, const char* name) {
#ifdef Q_OS_LINUX
  if (chosen.PlatformNamed()) return;
  const bool x11 = !chosen.x11.empty();
  const bool wayland = !chosen.wayland.empty();
  if (x11 && wayland) qputenv("QT_QPA_PLATFORM", "xcb");
  if (!x11 && !wayland) ExitForNoDisplay(name, kNoDisplay);
#else
  (void)chosen;
  (void)name;
#endif
}

std::string NoDisplayLine(const DisplaySettings& settings) {
  std::vector<std::string> names = PlatformNames(settings.platform);
  const bool named = settings.PlatformNamed();
  if (names.empty()) {
    // A platform setting that names none leaves Qt nothing to try.
    if (named) return kNoDisplay;
    // Qt's own choice: X when there is an X display, else Wayland.
    if (!settings.x11.empty()) names = {"xcb"};
    if (names.empty() && !settings.wayland.empty()) names = {"wayland"};
    if (names.empty()) return kNoDisplay;
  }
  const auto installed = [&](const std::string& name) {
    return std::find(settings.installed.begin(), settings.installed.end(), name) !=
           settings.installed.end();
  };
  const auto tried = std::find_if(names.begin(), names.end(), installed);
  if (tried == names.end()) {
    std::string line = "platform \"" + names.front() + "\" is not available";
    if (named) line += settings.platformOnCommandLine ? " (-platform)" : " (QT_QPA_PLATFORM)";
    if (!settings.installed.empty()) {
      line += "; available:";
      for (const auto& name : settings.installed) {
        line += (&name == &settings.installed.front() ? " " : ", ") + name;
      }
    }
    return line;
  }
  if (*tried == "xcb") {
    if (settings.x11.empty()) return "cannot open an X display: DISPLAY is not set";
    return "cannot open the X display \"" + settings.x11 + "\"";
  }
  if (*tried == "wayland") {
    if (settings.wayland.empty())
      return "cannot open a Wayland display: WAYLAND_DISPLAY is not set";
    return "cannot open the Wayland display \"" + settings.wayland + "\"";
  }
  return "platform \"" + *tried + "\" could not be started";
}

}  // namespace detail

}  // namespace platform
