#pragma once

#include <QApplication>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// Creates the application on the display that the environment names. When none
// can be opened the program ends with one line on stderr saying why, status 2.
// Once it runs, a broken connection to an X display ends it at once with one line
// and status 1, before any of its objects is torn down.
std::unique_ptr<QApplication> OpenDisplay(int& argc, char** argv, const std::string& program);

namespace detail {
// Picks the display before Qt looks for one. The shake moves the program's own
// window, which Wayland clients cannot do, so with both displays at hand it runs
// on X (XWayland). With none it exits with one line on stderr.
void ChooseDisplay(const char* program);

// The settings the program looked for a display with, and the platforms that Qt
// has plug-ins for.
struct DisplaySettings {
  std::string platform = {};  // QT_QPA_PLATFORM
  std::string x11 = {};       // DISPLAY
  std::string wayland = {};   // WAYLAND_DISPLAY
  std::vector<std::string> installed = {};
};
// Why no display could be opened with those settings, in one line.
std::string NoDisplayLine(const DisplaySettings& settings);
}  // namespace detail

}  // namespace platform
