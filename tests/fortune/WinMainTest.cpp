#include <gtest/gtest.h>

#include "Fixtures.h"
#include "fortune/WinMain.h"
#include "platform/Runtime.h"

using testing_support::ProgramTest;

namespace {

// The main window, seen from inside its own set-up: what its properties and the
// accessor answer there.
class SetUpProbe : public fortune::WinMain {
 public:
  void Layout() override {
    appNameInLayout = AppName;
    urlsEmptyInLayout = WebsiteURL.empty() && ContactURL.empty();
    fortune::WinMain::Layout();
  }
  void Event_Open() override {
    accessorInOpen = ::WinMain().get();
    fortune::WinMain::Event_Open();
  }
  std::string appNameInLayout;
  bool urlsEmptyInLayout = false;
  const void* accessorInOpen = nullptr;
};

}  // namespace

class WinMainTest : public ProgramTest {};

TEST_F(WinMainTest, TheAccessorBuildsOneWindowAndThenReturnsIt) {
  const auto first = WinMain();
  EXPECT_TRUE(first->Visible());
  EXPECT_EQ(WinMain(), first);
  EXPECT_EQ(first->lbl_Copyright(), WinMain()->lbl_Copyright());  // no second set of controls
}

TEST_F(WinMainTest, InsideItsOwnSetUpTheWindowShowsItsDefaultsAndIsFoundByTheAccessor) {
  auto probe = platform::New<SetUpProbe>();
  probe->Constructor();
  EXPECT_EQ(probe->appNameInLayout, "App Name Here");
  EXPECT_TRUE(probe->urlsEmptyInLayout);
  EXPECT_EQ(probe->accessorInOpen, probe.get());
  EXPECT_EQ(WinMain(), probe);
  EXPECT_EQ(probe->AppName, "Orbivane 1.0");
}

TEST_F(WinMainTest, ANewWindowHasTheDefaults) {
  auto window = platform::New<fortune::WinMain>();
  EXPECT_EQ(window->AppName, "App Name Here");
  EXPECT_FALSE(window->Copyright.empty());
  EXPECT_EQ(window->WebsiteURL, "");
  EXPECT_EQ(window->ContactURL, "");
}

TEST_F(WinMainTest, AnswersForTheFiveWindowEventsItHandles) {
  const auto window = WinMain();
  for (const char* handled : {"Open", "Close", "Layout", "CreateControls", "AddMenuHandlers"}) {
    EXPECT_TRUE(window->IsEventImplemented(handled)) << handled;
  }
  EXPECT_FALSE(window->IsEventImplemented("Paint"));
  EXPECT_FALSE(window->IsEventImplemented("Activate"));
}

// A menu bar asks its style for the icon of an overflow button it never shows
// here; read at once, that icon made Qt load every image plug-in, and libjpeg.
using ShownWinMainTest = testing_support::StartedProgramTest;

TEST_F(ShownWinMainTest, TheWindowAndItsMenuBarLoadNoImagePlugin) {
  ASSERT_TRUE(window->Visible());
  EXPECT_EQ(testing_support::ImagePluginsMapped(), "");
}
