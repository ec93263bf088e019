#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTest>

#include "Fixtures.h"
#include "platform/Application.h"
#include "platform/ControlBuilding.h"
#include "platform/DesignForms.h"
#include "platform/Label.h"
#include "platform/MenuItem.h"
#include "platform/PushButton.h"
#include "platform/Runtime.h"
#include "platform/qt/ControlPeer.h"
#include "platform/qt/MenuPeer.h"
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
                        .defaultLocation = Window::CentredOnMainScreen});
}>();

constexpr auto kFixedCentredWithoutBar = EncodeDesignList<[](DesignListWriter& w) {
  Write(w, WindowDesign{.width = 300,
                        .height = 200,
                        .title = "Probe",
                        .resizeable = false,
                        .defaultLocation = Window::CentredOnMainScreen,
                        .menuBarVisible = false});
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
    SetProperties_(*this, AsDesignList(withoutMenuBar ? kFixedCentredWithoutBar : kFixedCentred));
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
  bool withoutMenuBar = false;
  bool foundDuringSetUp = false;
  bool shownDuringSetUp = true;
};

}  // namespace

class WindowTest : public ProgramTest {
 protected:
  // A bar with File > Quit (Ctrl+Q), registered as the application's.
  Ref<MenuBar> RegisterApplicationWithBar() {
    auto bar = New<MenuBar>();
    auto file = New<MenuItem>();
    file->SetName("FileMenu");
    file->SetText("&File");
    bar->AddMenu(file);
    auto quit = New<QuitMenuItem>();
    quit->SetName("FileQuit");
    quit->SetText("&Quit");
    quit->SetShortcut("Cmd+Q");
    file->AddMenu(quit);
    auto app = New<Application>();
    app->SetMenuBar(bar);
    RuntimeRegisterAppObject_(app);
    return bar;
  }

  static QMenuBar* MenuBarView(const Ref<Window>& window) {
    return qobject_cast<QMenuBar*>(window->WindowPeer().widget->menuWidget());
  }
};

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

TEST_F(WindowTest, AWindowWithNoBarOfItsOwnShowsTheApplicationsAboveItsDesignSize) {
  const auto bar = RegisterApplicationWithBar();
  auto window = New<ProbeWindow>();
  window->Constructor();
  auto& widget = *window->WindowPeer().widget;
  EXPECT_FALSE(window->MenuBar());
  EXPECT_EQ(window->ShownMenuBar(), bar);
  QMenuBar* view = MenuBarView(window);
  ASSERT_NE(view, nullptr);
  EXPECT_TRUE(view->isVisible());
  EXPECT_EQ(view->actions(), QList<QAction*>{bar->Item(0)->MenuPeer().action.get()});

  EXPECT_EQ(widget.Content()->size(), QSize(300, 200));
  EXPECT_GT(view->height(), 0);
  EXPECT_EQ(widget.height(), 200 + view->height());
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_LE(std::abs(widget.frameGeometry().center().y() - screen.center().y()), 1);
  window->SetVisible(false);
}

TEST_F(WindowTest, AWindowShowsItsOwnBarOrNoneWhenItsDesignSaysSo) {
  const auto applicationBar = RegisterApplicationWithBar();

  auto without = New<ProbeWindow>();
  without->withoutMenuBar = true;
  without->Constructor();
  EXPECT_FALSE(without->ShownMenuBar());
  EXPECT_EQ(MenuBarView(without), nullptr);
  auto& widget = *without->WindowPeer().widget;
  EXPECT_EQ(widget.height(), 200);
  // Shortcuts follow the bar: a window that shows none does not quit on Ctrl+Q.
  widget.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&widget));
  QTest::keyClick(&widget, Qt::Key_Q, Qt::ControlModifier);
  EXPECT_FALSE(QuitRequested());
  without->SetVisible(false);

  auto own = New<Window>();
  const auto ownBar = New<MenuBar>();
  own->SetMenuBar(ownBar);
  EXPECT_EQ(own->ShownMenuBar(), ownBar);
  // Without its own bar again it falls back on the application's.
  own->SetMenuBar(nullptr);
  EXPECT_EQ(own->ShownMenuBar(), applicationBar);
  ASSERT_NE(MenuBarView(own), nullptr);
  EXPECT_EQ(MenuBarView(own)->actions().size(), 1);
}

TEST_F(WindowTest, AMenuBarNeverAppearsAsAWindowOfItsOwn) {
  // Records every top-level widget that is shown.
  struct ShownWindows : QObject {
    bool eventFilter(QObject* object, QEvent* event) override {
      auto* widget = qobject_cast<QWidget*>(object);
      if (event->type() == QEvent::Show && widget && widget->isWindow()) shown.push_back(widget);
      return false;
    }
    std::vector<QWidget*> shown;
  } watcher;
  qApp->installEventFilter(&watcher);
  RegisterApplicationWithBar();
  auto window = New<ProbeWindow>();
  window->Constructor();
  window->SetMenuBar(New<MenuBar>());
  qApp->removeEventFilter(&watcher);
  EXPECT_EQ(watcher.shown, std::vector<QWidget*>{window->WindowPeer().widget.get()});
  window->SetVisible(false);
}
