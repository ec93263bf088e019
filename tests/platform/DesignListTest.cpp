#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>

#include "Fixtures.h"
#include "credits/CreditsDesign.h"
#include "fortune/WinMainDesign.h"
#include "platform/Canvas.h"
#include "platform/ControlBuilding.h"
#include "platform/DesignForms.h"
#include "platform/Label.h"
#include "platform/PushButton.h"
#include "platform/Window.h"
#include "platform/qt/ControlPeer.h"

using namespace platform;
using testing_support::ProgramTest;

namespace {

std::string Hex(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char b : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

template <auto Write>
std::string Bytes() {
  constexpr auto bytes = EncodeDesignList<Write>();
  return std::string(bytes.data(), bytes.size());
}

// A window with one control of each kind, to apply lists to.
Ref<Window> WindowWithControls() {
  auto window = New<Window>();
  NewControl<Label>(*window, "label");
  NewControl<PushButton>(*window, "button");
  NewControl<Canvas>(*window, "canvas");
  return window;
}

}  // namespace

TEST(DesignListEncoding, ValuesAreStoredByTheirTypesWidth) {
  EXPECT_EQ(Hex(Bytes<[](DesignListWriter& w) { w.Integer("Index", -2147483648LL); }>()),
            "49 6E 64 65 78 20 00 00 00 80 FF FF FF FF");
  EXPECT_EQ(Hex(Bytes<[](DesignListWriter& w) { w.Integer("Left", 303); }>()),
            "4C 65 66 74 20 2F 01 00 00 00 00 00 00");
  EXPECT_EQ(Hex(Bytes<[](DesignListWriter& w) { w.Single("S", 20).Single("S", 18); }>()),
            "53 20 00 00 A0 41 53 20 00 00 90 41");
  EXPECT_EQ(Hex(Bytes<[](DesignListWriter& w) { w.Single("S", 16).Single("S", 12); }>()),
            "53 20 00 00 80 41 53 20 00 00 40 41");
  EXPECT_EQ(Hex(Bytes<[](DesignListWriter& w) { w.Single("S", 0); }>()), "53 20 00 00 00 00");
  EXPECT_EQ(Hex(Bytes<[](DesignListWriter& w) { w.String("T", ""); }>()), "54 20 00 00 00 00");
  // A text of one blank: the count 1, then the blank, after the separator's blank.
  EXPECT_EQ(Hex(Bytes<[](DesignListWriter& w) { w.String("T", " "); }>()), "54 20 01 00 00 00 20");
  EXPECT_EQ(Hex(Bytes<[](DesignListWriter& w) { w.Colour("C", kWhite).Colour("C", kBlack); }>()),
            "43 20 FF FF FF 00 43 20 00 00 00 00");
  EXPECT_EQ(Hex(Bytes<[](DesignListWriter& w) {
              w.Boolean("B", true).FontUnit("U", FontUnits::Default);
            }>()),
            "42 20 01 55 20 00");
}

class DesignListTest : public ProgramTest {};

TEST_F(DesignListTest, AListSetsPropertiesThroughTheirSettersAndKeepsTheRest) {
  auto window = WindowWithControls();
  constexpr auto list = EncodeDesignList<[](DesignListWriter& w) {
    w.String("Name", "label")
        .Integer("Index", kNotInControlSet)
        .Integer("Left", 12)
        .Boolean("Multiline", true)
        .Boolean("LockRight", true)
        .String("Text", "two\rlines");
  }>();
  auto label = ControlNamed<Label>(window, "label");
  SetProperties_(*label, AsDesignList(list));

  EXPECT_EQ(label->Left(), 12);
  EXPECT_TRUE(label->MultiLine());
  EXPECT_EQ(label->Text(), "two\rlines");
  // The widget shows the carriage return as a line break; the text stays as it was.
  EXPECT_EQ(static_cast<QLabel&>(*label->ControlPeer().widget).text(), "two\nlines");
  EXPECT_EQ(std::get<std::int64_t>(*label->StoredValue("Index")), -2147483648LL);
  EXPECT_EQ(std::get<bool>(*label->StoredValue("LockRight")), true);
}

TEST_F(DesignListTest, AnEntryThatStandsTwiceIsAppliedTwiceTheLaterLast) {
  auto window = WindowWithControls();
  constexpr auto list = EncodeDesignList<[](DesignListWriter& w) {
    w.Boolean("Transparent", false).Boolean("Transparent", true);
  }>();
  auto canvas = ControlNamed<Canvas>(window, "canvas");
  canvas->SetTransparent(false);
  SetProperties_(*canvas, AsDesignList(list));
  EXPECT_TRUE(canvas->Transparent());
  EXPECT_FALSE(canvas->ControlPeer().widget->autoFillBackground());
}

TEST_F(DesignListTest, SystemFontAtSizeZeroIsThePlatformsDefaultSize) {
  auto window = WindowWithControls();
  constexpr auto list = EncodeDesignList<[](DesignListWriter& w) {
    w.String("FontName", "System").Single("FontSize", 0).Boolean("Bold", true);
  }>();
  auto button = ControlNamed<PushButton>(window, "button");
  SetProperties_(*button, AsDesignList(list));
  const QFont font = button->ControlPeer().widget->font();
  EXPECT_EQ(font.pointSizeF(), QApplication::font().pointSizeF());
  EXPECT_TRUE(font.bold());

  constexpr auto sized = EncodeDesignList<[](DesignListWriter& w) { w.Single("FontSize", 20); }>();
  SetProperties_(*button, AsDesignList(sized));
  EXPECT_EQ(button->ControlPeer().widget->font().pixelSize(), 20);
}

// Found by fuzzing: a huge font size was converted to int out of range.
TEST_F(DesignListTest, AHugeFontSizeIsHeldToTheLargestNotOverflowed) {
  auto window = WindowWithControls();
  constexpr auto list =
      EncodeDesignList<[](DesignListWriter& w) { w.Single("FontSize", 3.0e38f); }>();
  auto label = ControlNamed<Label>(window, "label");
  SetProperties_(*label, AsDesignList(list));
  EXPECT_EQ(label->ControlPeer().widget->font().pixelSize(), 4096);
}

TEST_F(DesignListTest, AnUnknownNameIsAnErrorThatNamesTheEntry) {
  auto window = WindowWithControls();
  constexpr auto list =
      EncodeDesignList<[](DesignListWriter& w) { w.Integer("Left", 1).Boolean("Bogus", true); }>();
  try {
    SetProperties_(*window->ControlByName_("label"), AsDesignList(list));
    FAIL() << "no exception";
  } catch (const RuntimeException& e) {
    EXPECT_NE(e.Message().find("entry 2 \"Bogus\""), std::string::npos) << e.Message();
  }
  // The entry before it stays applied.
  EXPECT_EQ(window->ControlByName_("label")->Left(), 1);
}

// Every list of the program, cut short at every byte: a cut between two entries
// applies the entries before it, any other cut raises a RuntimeException. Nothing
// is read past the end (the suite also runs under AddressSanitizer).
TEST_F(DesignListTest, ATruncatedListRaisesAndNeverReadsPastItsEnd) {
  struct Case {
    DesignList list;
    const char* target;
    size_t entries;
  };
  namespace fd = fortune::design;
  namespace cd = credits::design;
  const Case cases[] = {
      {AsDesignList(fd::kWinMain), "window", 21}, {AsDesignList(fd::kLblCopyright), "label", 32},
      {AsDesignList(fd::kBtnQuit), "button", 29}, {AsDesignList(fd::kCanvas1), "canvas", 24},
      {AsDesignList(cd::kCredits), "window", 21}, {AsDesignList(cd::kLblCredits), "label", 32},
      {AsDesignList(cd::kBtnExit), "button", 29}, {AsDesignList(cd::kCanvas1), "canvas", 24},
  };
  auto window = WindowWithControls();
  for (const auto& c : cases) {
    Object& target = std::string(c.target) == "window"
                         ? static_cast<Object&>(*window)
                         : static_cast<Object&>(*window->ControlByName_(c.target));
    size_t whole = 0;
    for (size_t length = 0; length <= c.list.size(); ++length) {
      // A copy of exactly that length, so that a read past it is a read past a heap block.
      const std::string cut(c.list.substr(0, length));
      try {
        SetProperties_(target, cut);
        ++whole;
      } catch (const RuntimeException&) {
      }
    }
    EXPECT_EQ(whole, c.entries + 1) << c.target;
  }
  window->SetVisible(false);
}
