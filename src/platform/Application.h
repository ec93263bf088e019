#pragma once

#include <cstdint>
#include <string>

#include "platform/Object.h"
#include "platform/Ref.h"

namespace platform {

class MenuBar;

// The application object. The program subclasses it once and registers the
// instance with the runtime at start-up.
class Application : public Object {
 public:
  static const ClassInfo& Class();
  const ClassInfo& RuntimeClass() const override { return Class(); }

  // Handles pending events, the timers' among them. With a negative argument it
  // first waits until at least one has come, so a loop around it costs no
  // processor time while nothing happens; otherwise it does not wait.
  void DoEvents(std::int64_t milliseconds = -1);

  void _x_SetVersionData(std::int64_t major, std::int64_t minor, std::int64_t bug,
                         std::int64_t nonRelease, std::int64_t stageCode,
                         const std::string& longVersion, const std::string& shortVersion,
                         const std::string& packageInfo);
  std::int64_t MajorVersion() const { return major_; }
  std::int64_t MinorVersion() const { return minor_; }
  std::int64_t BugVersion() const { return bug_; }
  std::int64_t NonReleaseVersion() const { return nonRelease_; }
  std::int64_t StageCode() const { return stageCode_; }
  const std::string& LongVersion() const { return longVersion_; }
  const std::string& ShortVersion() const { return shortVersion_; }
  const std::string& PackageInfo() const { return packageInfo_; }

  Ref<platform::MenuBar> MenuBar() const { return menuBar_; }
  void SetMenuBar(const Ref<platform::MenuBar>& bar);

  // Events that the runtime raises: Open once the event loop starts, Close when
  // it has ended.
  virtual void Event_Open() {}
  virtual void Event_Close() {}

 private:
  std::int64_t major_ = 0, minor_ = 0, bug_ = 0, nonRelease_ = 0, stageCode_ = 0;
  std::string longVersion_, shortVersion_, packageInfo_;
  Ref<platform::MenuBar> menuBar_;
};

}  // namespace platform
