#pragma once

#include "platform/MenuItem.h"
#include "platform/Ref.h"

namespace shell {

// The application's menu bar: File, Edit and Help. The same bar serves the
// application and the main window; the main window binds its handlers to the
// items by name.
class MainMenuBar : public platform::MenuBar {
 public:
  static const platform::ClassInfo& Class();
  const platform::ClassInfo& RuntimeClass() const override { return Class(); }

  // Builds the three menus in order; stops at the first failure.
  void Constructor() override;

  void Untitled0();
  void Untitled1();
  void Untitled2();
};

// Drops the shared bar at the end of the run.
void ReleaseMainMenuBar();

}  // namespace shell

// The shared menu bar, built on the first call. A build that fails keeps nothing,
// and the next call builds afresh.
platform::Ref<shell::MainMenuBar> MainMenuBar();
