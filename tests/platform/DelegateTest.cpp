#include <gtest/gtest.h>

#include "Fixtures.h"
#include "platform/Canvas.h"
#include "platform/ControlBuilding.h"
#include "platform/Label.h"
#include "platform/PushButton.h"
#include "platform/Window.h"

using namespace platform;
using testing_support::ProgramTest;

namespace {

// A window with a label and a canvas whose handlers record what reaches them.
class ProbeWindow : public Window {
 public:
  static const ClassInfo& Class() {
    static const ClassInfo& info =
        RegisterClass({.name = "ProbeWindow.ProbeWindow", .base = &Window::Class()});
    return info;
  }
  const ClassInfo& RuntimeClass() const override { return Class(); }

  bool LabelDown(Label& sender, std::int64_t x, std::int64_t y) {
    calls.push_back(sender.Name() + " " + std::to_string(x) + "," + std::to_string(y));
    return answer;
  }
  void Pressed(PushButton& sender) { calls.push_back(sender.Name()); }

  std::vector<std::string> calls;
  bool answer = true;
};

}  // namespace

class DelegateTest : public ProgramTest {};

TEST_F(DelegateTest, SignatureTextFollowsTheMethodsTypes) {
  EXPECT_EQ((SignatureText<bool, Label&, std::int64_t, std::int64_t>()),
            "( Label, Integer, Integer ) as Boolean");
  EXPECT_EQ((SignatureText<void, PushButton&>()), "( PushButton )");
  EXPECT_EQ((SignatureText<bool>()), "(  ) as Boolean");
}

TEST_F(DelegateTest, ADelegateWhoseTextIsNotItsMethodsIsRefused) {
  auto window = New<ProbeWindow>();
  EXPECT_THROW(RuntimeCreateDelegate(&ProbeWindow::Pressed, window, "( Label )"), RuntimeException);
  EXPECT_THROW(
      RuntimeCreateDelegate(&ProbeWindow::LabelDown, window, "( Label, Integer, Integer )"),
      RuntimeException);
}

TEST_F(DelegateTest, AHandlerIsAttachedOnlyToAnEventWhoseSignatureItHas) {
  auto window = New<ProbeWindow>();
  NewControl<Label>(*window, "label");
  NewControl<Canvas>(*window, "canvas");
  auto down = RuntimeCreateDelegate(&ProbeWindow::LabelDown, window,
                                    "( Label, Integer, Integer ) as Boolean");
  auto pressed = RuntimeCreateDelegate(&ProbeWindow::Pressed, window, "( PushButton )");
  const int mouseDownLabel = Label::Class().EventNumber("MouseDown");
  const int mouseDownCanvas = Canvas::Class().EventNumber("MouseDown");

  // A push button's handler on a label's mouse-down, and a label's handler on a
  // canvas (whose MouseDown has another number and sender).
  EXPECT_THROW(RuntimeAddEventHandler(window->ControlByName_("label"), mouseDownLabel, pressed),
               RuntimeException);
  EXPECT_THROW(RuntimeAddEventHandler(window->ControlByName_("canvas"), mouseDownCanvas, down),
               RuntimeException);
  EXPECT_THROW(RuntimeAddEventHandler(window->ControlByName_("label"), 99, down), RuntimeException);
  EXPECT_FALSE(window->ControlByName_("label")->HasEventHandler("MouseDown"));

  RuntimeAddEventHandler(window->ControlByName_("label"), mouseDownLabel, down);
  EXPECT_TRUE(window->ControlByName_("label")->HasEventHandler("MouseDown"));
}

TEST_F(DelegateTest, MouseDownPassesTheSenderAndPositionAndAnswersTheHandlersResult) {
  auto window = New<ProbeWindow>();
  NewControl<Label>(*window, "label");
  auto label = ControlNamed<Label>(window, "label");
  label->SetName("label");
  BindEvent<Label>(*window, "label", "MouseDown", &ProbeWindow::LabelDown,
                   "( Label, Integer, Integer ) as Boolean");

  EXPECT_TRUE(label->RaiseMouseDown(7, 9));
  window->answer = false;
  EXPECT_FALSE(label->RaiseMouseDown(1, 2));
  EXPECT_EQ(window->calls, (std::vector<std::string>{"label 7,9", "label 1,2"}));
}

TEST_F(DelegateTest, AnEventNameTheClassDoesNotDeclareBindsNothing) {
  auto window = New<ProbeWindow>();
  NewControl<Label>(*window, "label");
  try {
    BindEvent<Label>(*window, "label", "Action", &ProbeWindow::LabelDown,
                     "( Label, Integer, Integer ) as Boolean");
    ADD_FAILURE() << "bound to an event that Label does not have";
  } catch (const RuntimeException& e) {
    EXPECT_EQ(e.Message(), "Label has no event Action");
  }
  EXPECT_FALSE(ControlNamed<Label>(window, "label")->RaiseMouseDown(1, 1));
  EXPECT_TRUE(window->calls.empty());
}

TEST_F(DelegateTest, AnEventWithoutHandlerReachesNothing) {
  auto window = New<ProbeWindow>();
  NewControl<Label>(*window, "label");
  EXPECT_FALSE(ControlNamed<Label>(window, "label")->RaiseMouseDown(1, 1));
  EXPECT_TRUE(window->calls.empty());
  EXPECT_TRUE(reports.empty());
}

TEST_F(DelegateTest, ADelegateWhoseTargetIsGoneRaisesNilObject) {
  auto window = New<ProbeWindow>();
  auto stranger = New<ProbeWindow>();
  NewControl<PushButton>(*window, "button");
  auto button = ControlNamed<PushButton>(window, "button");
  RuntimeAddEventHandler(button, button->EventNumber("Action"),
                         RuntimeCreateDelegate(&ProbeWindow::Pressed, stranger, "( PushButton )"));
  stranger = nullptr;

  button->Push();
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].className, "NilObjectException");
  EXPECT_TRUE(window->calls.empty());
}
