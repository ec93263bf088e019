#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ManualEventLoop.h"
#include "RecordingEffects.h"
#include "fortune/WinMain.h"
#include "platform/Control.h"
#include "platform/Ref.h"
#include "platform/Window.h"

namespace testing_support {

struct Report {
  std::string className;
  std::string message;
};

// A bundle laid out in a temporary folder: bin/ for the executable's place and
// Resources/ with whichever media files a test wants.
class TempBundle {
 public:
  TempBundle();
  ~TempBundle();
  TempBundle(const TempBundle&) = delete;
  TempBundle& operator=(const TempBundle&) = delete;

  // Copies a file of the real bundle's Resources folder.
  void AddMedia(const std::string& name);
  void WriteResource(const std::string& name, const std::string& content);
  void RemoveResource(const std::string& name);
  std::filesystem::path Resources() const { return root_ / "Resources"; }
  std::filesystem::path Executable() const { return root_ / "bin" / "orbivane"; }

 private:
  std::filesystem::path root_;
};

// A fresh program state for every test: the runtime's initialisers run, time moves
// by hand, outward effects and unhandled exceptions are recorded, and the bundle
// is the built one unless the test lays out its own. The finalisers run after.
class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Points the program at another bundle.
  void UseBundle(const TempBundle& bundle);
  // Runs the start-up steps up to the event loop, as the program's entry does.
  void StartProgram();

  ManualEventLoop* loop = nullptr;
  RecordingEffects* effects = nullptr;
  std::vector<Report> reports;
};

// The program started as far as its event loop, with its main window open.
class StartedProgramTest : public ProgramTest {
 protected:
  void SetUp() override;
  platform::Ref<fortune::WinMain> window;
};

// The real bundle that the build made.
std::filesystem::path BuiltBundle();

// A click with the mouse, as the user makes it, at a point of the control.
void Click(const platform::Ref<platform::RectControl>& control, int x, int y);

// The names of the controls that the keyboard focus visits when the user presses
// Tab that many times in the window.
std::vector<std::string> TabThrough(const platform::Ref<platform::Window>& window, int presses);

// The image format plug-ins that Qt has loaded into this process so far.
std::string ImagePluginsMapped();

}  // namespace testing_support
