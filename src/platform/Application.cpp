#include "platform/Application.h"

#include "platform/EventLoop.h"
#include "platform/MenuItem.h"

namespace platform {

const ClassInfo& Application::Class() {
  static const ClassInfo& info = RegisterClass({
      .name = "Application",
      .base = &Object::Class(),
      .events = {{"Activate", "", ""},
                 {"AppearanceChanged", "", ""},
                 {"CancelClose", "", "Boolean"},
                 {"Close", "", ""},
                 {"Deactivate", "", ""},
                 {"EnableMenuItems", "", ""},
                 {"HandleAppleEvent", "Object, String, String", "Boolean"},
                 {"NewDocument", "", ""},
                 {"Open", "", ""},
                 {"OpenDocument", "FolderItem", ""},
                 {"UnhandledException", "RuntimeException", "Boolean"}},
  });
  return info;
}

void Application::DoEvents(std::int64_t milliseconds) {
  CurrentEventLoop().DoEvents(milliseconds < 0);
}

void Application::_x_SetVersionData(std::int64_t major, std::int64_t minor, std::int64_t bug,
                                    std::int64_t nonRelease, std::int64_t stageCode,
                                    const std::string& longVersion, const std::string& shortVersion,
                                    const std::string& packageInfo) {
  major_ = major;
  minor_ = minor;
  bug_ = bug;
  nonRelease_ = nonRelease;
  stageCode_ = stageCode;
  longVersion_ = longVersion;
  shortVersion_ = shortVersion;
  packageInfo_ = packageInfo;
}

void Application::SetMenuBar(const Ref<platform::MenuBar>& bar) {
  // Linux has no menu bar outside the windows; the application's bar is shown
  // where a window installs it.
  menuBar_ = bar;
}

}  // namespace platform
