#pragma once

#include <QApplication>
#include <memory>
#include <string>

namespace platform {

// Creates the application on the display that the environment names. When none
// can be opened the program ends with one line on stderr saying why, status 2.
// Once it runs, a broken connection to an X display ends it at once with one line
// and status 1, before any of its objects is torn down.
std::unique_ptr<QApplication> OpenDisplay(int& argc, char** argv, const std::string& program);

}  // namespace platform
