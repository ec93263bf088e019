#include <gtest/gtest.h>

#include "Fixtures.h"
#include "platform/Canvas.h"
#include "platform/Label.h"
#include "platform/MenuItem.h"
#include "platform/PushButton.h"
#include "platform/Window.h"

using namespace platform;

TEST(ClassRegistry, EventsAreNumberedAfterThoseOfTheBases) {
  EXPECT_EQ(Control::Class().EventNumber("Close"), 0);
  EXPECT_EQ(Control::Class().EventNumber("CreatePane"), 1);
  EXPECT_EQ(Control::Class().EventNumber("Open"), 2);
  ASSERT_NE(RectControl::Class().EventByNumber(3), nullptr);
  ASSERT_NE(RectControl::Class().EventByNumber(14), nullptr);
  EXPECT_EQ(RectControl::Class().EventByNumber(15), nullptr);

  EXPECT_EQ(Label::Class().EventNumber("AcceleratorKey"), 15);
  EXPECT_EQ(Label::Class().EventNumber("MouseDown"), 16);
  EXPECT_EQ(PushButton::Class().EventNumber("Action"), 15);
  EXPECT_EQ(Canvas::Class().EventNumber("MouseDown"), 21);
  // A subclass reaches its bases' events under their numbers.
  EXPECT_EQ(Canvas::Class().EventNumber("Open"), 2);
  EXPECT_EQ(Label::Class().EventNumber("Action"), -1);
}

TEST(ClassRegistry, PropertiesAreFoundIgnoringCaseThroughTheBases) {
  const PropertyInfo* multiline = Label::Class().FindProperty("Multiline");
  ASSERT_NE(multiline, nullptr);
  EXPECT_EQ(multiline->name, "MultiLine");
  const PropertyInfo* procId = Window::Class().FindProperty("MacProcID");
  ASSERT_NE(procId, nullptr);
  EXPECT_EQ(procId->name, "MacProcId");
  const PropertyInfo* left = Canvas::Class().FindProperty("left");
  ASSERT_NE(left, nullptr);
  EXPECT_EQ(left->type, ValueType::Integer);

  EXPECT_EQ(PushButton::Class().FindProperty("Multiline"), nullptr);
  EXPECT_EQ(Label::Class().FindProperty("Multilin"), nullptr);
}

TEST(ClassRegistry, ClassesAreFoundByName) {
  EXPECT_EQ(FindClass("QuitMenuItem"), &QuitMenuItem::Class());
  EXPECT_TRUE(QuitMenuItem::Class().Handles("Action"));
  EXPECT_FALSE(MenuItem::Class().Handles("Action"));
  EXPECT_TRUE(QuitMenuItem::Class().IsKindOf(MenuItem::Class()));
  EXPECT_FALSE(MenuItem::Class().IsKindOf(QuitMenuItem::Class()));
  EXPECT_EQ(FindClass("NoSuchClass"), nullptr);
}
