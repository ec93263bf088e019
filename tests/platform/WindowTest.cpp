#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "Fixtures.h"
#include "platform/ControlBuilding.h"
#include "platform/DesignForms.h"
#include "platform/Label.h"
#include "platform/PushButton.h"
#include "platform/Runtime.h"
#include "platform/qt/ControlPeer.h"
#include "platform/qt/WindowWidget.h"

using namespace platform;
using testing_support::ProgramTest;

namespace {

constexpr auto kFixedCentred = EncodeDesignList<[](DesignListWriter& w) {
  Write(w, WindowDesign{.width = 300,
                        .height = 200,
                        .title = "Probe",
                        .hasMaximizeButton = false,
                        .hasMinimizeButton = false,
                        .resizeable = false,
                        .defaultLocation = 2});
}>();

// Records the order of its set-up events and what it sees during them.
class ProbeWindow : public Window {
 public:
  static const ClassInfo& Class() {
    static const ClassInfo& info = RegisterClass({.name = "Probe.Probe", .base = &Window::Class()});
    return info;
  }
  const ClassInfo& RuntimeClass() const override { return Class(); }

  void Layout() override {
    events.push_back("Layout");
    foundDuringSetUp = GetImplicitWindow_("Probe.Probe").get() == this;
    SetProperties_(*this, AsDesignList(kFixedCentred));
    shownDuringSetUp = WindowPeer().widget->isVisible();
    if (failIn == "Layout") throw RuntimeException("layout failed");
  }
  void CreateControls() override {
    events.push_back("CreateControls");
    NewControl<PushButton>(*this, "late");
    NewControl<PushButton>(*this, "first");
    for (const auto& [name, index] : {std::pair{"late", 5}, std::pair{"first", 1}}) {
      ControlNamed<PushButton>(RefTo(*this), name)->SetName(name);
      ControlNamed<PushButton>(RefTo(*this), name)->SetTabIndex(index);
    }
    BindEvent<PushButton>(*this, "late", "Open", &ProbeWindow::ControlOpen, "( PushButton )");
  }
  void AddMenuHandlers(Window& w) override {
    events.push_back(&w == this ? "AddMenuHandlers(self)" : "AddMenuHandlers(other)");
  }
  void Event_Open() override { events.push_back("Open"); }
  void Event_Close() override { events.push_back("Close"); }
  void ControlOpen(PushButton&) { events.push_back("control Open"); }

  std::vector<std::string> events;
  std::string failIn;
  bool foundDuringSetUp = false;
  bool shownDuringSetUp = true;
};

}  // namespace

class WindowTest : public ProgramTest {};

TEST_F(WindowTest, BuildingRaisesTheSetUpEventsInOrderThenShowsTheWindow) {
  auto window = New<ProbeWindow>();
  window->Constructor();
  EXPECT_EQ(window->events,
            (std::vector<std::string>{"Layout", "CreateControls", "AddMenuHandlers(self)",
                                      "control Open", "Open"}));
  EXPECT_TRUE(window->foundDuringSetUp);
  EXPECT_FALSE(window->shownDuringSetUp);
  EXPECT_TRUE(window->WindowPeer().widget->isVisible());
  window->SetVisible(false);
}

TEST_F(WindowTest, AFailedBuildLeavesNoImplicitInstance) {
  auto window = New<ProbeWindow>();
  window->failIn = "Layout";
  EXPECT_THROW(window->Constructor(), RuntimeException);
  EXPECT_FALSE(GetImplicitWindow_("Probe.Probe"));
  EXPECT_FALSE(window->WindowPeer().widget->isVisible());
}

TEST_F(WindowTest, AFixedWindowKeepsItsSizeHasOnlyACloseBoxAndIsCentred) {
  auto window = New<ProbeWindow>();
  window->Constructor();
  auto& widget = *window->WindowPeer().widget;
  EXPECT_EQ(window->Title(), "Probe");
  EXPECT_EQ(widget.Content()->size(), QSize(300, 200));
  EXPECT_EQ(widget.minimumSize(), widget.maximumSize());
  const Qt::WindowFlags flags = widget.windowFlags();
  EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);

  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect frame = widget.frameGeometry();
  EXPECT_LE(std::abs(frame.center().x() - screen.center().x()), 1);
  EXPECT_LE(std::abs(frame.center().y() - screen.center().y()), 1);
  window->SetVisible(false);
}

TEST_F(WindowTest, LeftAndTopMoveTheWindowAndReadBack) {
  auto window = New<ProbeWindow>();
  window->Constructor();
  const auto width = window->WindowPeer().widget->width();
  window->SetLeft(-5);
  window->SetTop(40);
  EXPECT_EQ(window->Left(), -5);
  EXPECT_EQ(window->Top(), 40);
  EXPECT_EQ(window->WindowPeer().widget->width(), width);
  window->SetVisible(false);
}

TEST_F(WindowTest, TabFollowsTabIndexNotCreationOrder) {
  auto window = New<ProbeWindow>();
  window->Constructor();
  EXPECT_EQ(testing_support::TabThrough(window, 3),
            (std::vector<std::string>{"first", "late", "first"}));
  window->SetVisible(false);
}

TEST_F(WindowTest, TheCloseBoxRaisesCloseAndHidesTheWindow) {
  auto window = New<ProbeWindow>();
  window->Constructor();
  window->Close();
  EXPECT_EQ(window->events.back(), "Close");
  EXPECT_FALSE(window->WindowPeer().widget->isVisible());
  EXPECT_EQ(GetImplicitWindow_("Probe.Probe"), window);
}
