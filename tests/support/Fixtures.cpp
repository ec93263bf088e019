#include "Fixtures.h"

#include <QApplication>
#include <QTest>
#include <cstdlib>
#include <fstream>

#include "platform/Effects.h"
#include "platform/EventLoop.h"
#include "platform/FolderItem.h"
#include "platform/Runtime.h"
#include "platform/qt/ControlPeer.h"
#include "platform/qt/WindowWidget.h"
#include "shell/Startup.h"

namespace testing_support {

std::filesystem::path BuiltBundle() { return ORBIVANE_TEST_BUNDLE; }

TempBundle::TempBundle() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "orbivane-bundle-XXXXXX").string();
  root_ = mkdtemp(pattern.data());
  std::filesystem::create_directories(root_ / "bin");
  std::filesystem::create_directories(root_ / "Resources");
}

TempBundle::~TempBundle() { std::filesystem::remove_all(root_); }

void TempBundle::AddMedia(const std::string& name) {
  std::filesystem::copy_file(BuiltBundle() / "Resources" / name, Resources() / name,
                             std::filesystem::copy_options::overwrite_existing);
}

void TempBundle::WriteResource(const std::string& name, const std::string& content) {
  std::ofstream(Resources() / name, std::ios::binary) << content;
}

void TempBundle::RemoveResource(const std::string& name) {
  std::filesystem::remove(Resources() / name);
}

void ProgramTest::SetUp() {
  auto manual = std::make_unique<ManualEventLoop>();
  loop = manual.get();
  platform::SetEventLoop(std::move(manual));
  auto recording = std::make_unique<RecordingEffects>();
  effects = recording.get();
  platform::SetEffects(std::move(recording));
  platform::SetUnhandledExceptionReporter(
      [this](const std::string& cls, const std::string& message) {
        reports.push_back({cls, message});
      });
  platform::detail::SetApplicationExecutable((BuiltBundle() / "bin" / "orbivane").string());
  platform::RuntimePerformInitializers(ProgramInitializers());
}

void ProgramTest::TearDown() {
  platform::RuntimePerformFinalizers();
  platform::SetUnhandledExceptionReporter(nullptr);
  platform::SetEventLoop(nullptr);
  platform::detail::SetApplicationExecutable("");
}

void ProgramTest::UseBundle(const TempBundle& bundle) {
  platform::detail::SetApplicationExecutable(bundle.Executable().string());
}

void ProgramTest::StartProgram() {
  platform::RuntimeSetExceptionHelper_(&CallFunctionWithExceptionHandling_);
  EarlyStartup_();
  platform::RunFrameworkInitialization_(&LateStartup_);
}

void StartedProgramTest::SetUp() {
  ProgramTest::SetUp();
  StartProgram();
  window = ::WinMain();
}

void Click(const platform::Ref<platform::RectControl>& control, int x, int y) {
  QTest::mouseClick(control->ControlPeer().widget, Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
}

std::vector<std::string> TabThrough(const platform::Ref<platform::Window>& window, int presses) {
  QWidget* widget = window->WindowPeer().widget.get();
  widget->activateWindow();
  if (!QTest::qWaitForWindowActive(widget)) return {"window not active"};
  if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
  std::vector<std::string> visited;
  for (int i = 0; i < presses; ++i) {
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : widget,
                    Qt::Key_Tab);
    std::string name = "(none)";
    for (const auto& control : window->FocusOrder()) {
      if (control->ControlPeer().widget == QApplication::focusWidget()) name = control->Name();
    }
    visited.push_back(name);
  }
  return visited;
}

std::string ImagePluginsMapped() {
  std::ifstream maps("/proc/self/maps");
  std::string line, found;
  while (std::getline(maps, line)) {
    const auto at = line.find("/imageformats/");
    if (at != std::string::npos && found.find(line.substr(at)) == std::string::npos) {
      found += line.substr(at) + " ";
    }
  }
  return found;
}

}  // namespace testing_support
