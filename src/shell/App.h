#pragma once

#include <cstdint>
#include <string>

#include "platform/Application.h"
#include "platform/Ref.h"

namespace shell {

// The application object: it remembers where the main window stood when the
// application opened, and hands over from the main window to the credits window
// when the user leaves.
class App : public platform::Application {
 public:
  static const platform::ClassInfo& Class();
  const platform::ClassInfo& RuntimeClass() const override { return Class(); }

  std::int64_t Wleft = 0;
  std::int64_t Wtop = 0;

  void Event_Open() override;
  void Event_Close() override;
  void QuitApp();
  void ResetWindowPosition();
  void Constructor() {}
};

}  // namespace shell

// The registered application object.
platform::Ref<shell::App> App();
