#pragma once

#include <QApplication>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Makes an exit() while the application exists end the process at once with its
// status, tearing nothing down. When it cannot, it says so in one line on stderr
// and answers false; the program goes on without it.
bool GuardExit(const std::string& program);

// Creates the application on the display that Qt's options on the command line or
// else the environment name. When none can be opened the program ends with one
// line on stderr saying why, status 2. Once it runs, a broken connection to an X
// display ends it at once with one line and status 1, before any of its objects is
// torn down.
std::unique_ptr<QApplication> OpenDisplay(int& argc, char** argv, const std::string& program);

namespace detail {
// The settings that Qt looks for a display with, and the platforms that it has
// plug-ins for.
struct DisplaySettings {
  std::string platform = {};  // -platform, else QT_QPA_PLATFORM
  bool platformOnCommandLine = false;
  std::string x11 = {};      // -display, else DISPLAY
  std::string wayland = {};  // WAYLAND_DISPLAY
  std::vector<std::string> installed = {};

  // Named, if only as nothing ("-platform ''"): Qt then makes no choice of its own.
  bool PlatformNamed() const { return platformOnCommandLine || !platform.empty(); }
};
// Reads them as Qt does: an option on the command line wins over the environment.
DisplaySettings ReadDisplaySettings(int argc, const char* const* argv);

// Picks the display before Qt looks for one. The shake moves the program's own
// window, which Wayland clients cannot do, so with both displays at hand and no
// platform named it runs on X (XWayland). With none it exits with one line on
// stderr.
void ChooseDisplay(const DisplaySettings& settings, const char* program);

// Why no display could be opened with those settings, in one line.
std::string NoDisplayLine(const DisplaySettings& settings);
}  // namespace detail

}  // namespace platform
