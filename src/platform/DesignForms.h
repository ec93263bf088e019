#pragma once

#include <cstdint>
#include <string_view>

#include "platform/DesignList.h"
#include "platform/Value.h"

namespace platform {

// The design of a window or control as a design tool records it, one field per
// entry of its list; a field left out keeps the value that a new one has.
// Write() emits the entries in the order that the list of that kind has.

inline constexpr std::int64_t kNotInControlSet = -2147483648LL;
inline constexpr Color kBlack{0x000000};
inline constexpr Color kWhite{0xFFFFFF};

struct WindowDesign {
  std::int64_t width = 600, height = 400;
  std::int64_t minimumWidth = 64, minimumHeight = 64;
  std::int64_t maximumWidth = 32000, maximumHeight = 32000;
  std::int64_t type = 0;  // a document window
  std::string_view title = {};
  bool hasCloseButton = true, hasMaximizeButton = true, hasMinimizeButton = true;
  bool hasFullScreenButton = false;
  bool resizeable = true, composite = false;
  std::int64_t macProcID = 0;
  bool fullScreen = false;
  std::int64_t defaultLocation = 0;
  bool visible = true;
  bool hasBackgroundColor = false;
  Color backgroundColor = kWhite;
  bool menuBarVisible = true;
};

struct LabelDesign {
  std::string_view name = {};
  std::int64_t left = 0, top = 0, width = 100, height = 20;
  std::int64_t tabIndex = 0;
  bool multiline = false, selectable = false;
  std::int64_t textAlignment = 0;
  Color textColor = kBlack;
  bool transparent = false;
  std::string_view text = {};
  bool bold = false, italic = false;
  std::string_view fontName = "System";
  bool underline = false;
  float fontSize = 0;
};

struct PushButtonDesign {
  std::string_view name = {};
  std::int64_t left = 0, top = 0, width = 80, height = 20;
  std::int64_t tabIndex = 0;
  bool cancel = false;
  std::string_view caption = {};
  bool isDefault = false;
  std::string_view fontName = "System";
  float fontSize = 0;
  bool bold = false, italic = false, underline = false;
};

struct CanvasDesign {
  std::string_view name = {};
  std::int64_t left = 0, top = 0, width = 100, height = 100;
  std::int64_t tabIndex = 0;
  bool allowFocusRing = true, allowFocus = false, allowTabs = false;
  bool transparent = true, doubleBuffer = false;
};

namespace detail {

// The entries every control's list starts with: name, place and keyboard order.
// Every control of ours sits directly in its window, locked to its top left.
constexpr void WriteControlHead(DesignListWriter& w, std::string_view name, std::int64_t left,
                                std::int64_t top, std::int64_t width, std::int64_t height,
                                std::int64_t tabIndex) {
  w.String("Name", name)
      .Integer("Index", kNotInControlSet)
      .Integer("Left", left)
      .Integer("Top", top)
      .Integer("Width", width)
      .Integer("Height", height)
      .Boolean("LockLeft", true)
      .Boolean("LockTop", true)
      .Boolean("LockRight", false)
      .Boolean("LockBottom", false)
      .Integer("TabIndex", tabIndex)
      .Integer("TabPanelIndex", 0)
      .Boolean("TabStop", true)
      .Boolean("AllowAutoDeactivate", true);
}

}  // namespace detail

constexpr void Write(DesignListWriter& w, const WindowDesign& d) {
  w.Integer("Width", d.width)
      .Integer("Height", d.height)
      .Integer("MinimumWidth", d.minimumWidth)
      .Integer("MinimumHeight", d.minimumHeight)
      .Integer("MaximumWidth", d.maximumWidth)
      .Integer("MaximumHeight", d.maximumHeight)
      .Integer("Type", d.type)
      .String("Title", d.title)
      .Boolean("HasCloseButton", d.hasCloseButton)
      .Boolean("HasMaximizeButton", d.hasMaximizeButton)
      .Boolean("HasMinimizeButton", d.hasMinimizeButton)
      .Boolean("HasFullScreenButton", d.hasFullScreenButton)
      .Boolean("Resizeable", d.resizeable)
      .Boolean("Composite", d.composite)
      .Integer("MacProcID", d.macProcID)
      .Boolean("FullScreen", d.fullScreen)
      .Integer("DefaultLocation", d.defaultLocation)
      .Boolean("Visible", d.visible)
      .Boolean("HasBackgroundColor", d.hasBackgroundColor)
      .Colour("BackgroundColor", d.backgroundColor)
      .Boolean("MenuBarVisible", d.menuBarVisible);
}

constexpr void Write(DesignListWriter& w, const LabelDesign& d) {
  detail::WriteControlHead(w, d.name, d.left, d.top, d.width, d.height, d.tabIndex);
  w.Boolean("Enabled", true)
      .String("Tooltip", "")
      .Boolean("Multiline", d.multiline)
      .Boolean("Selectable", d.selectable)
      .Integer("TextAlignment", d.textAlignment)
      .Colour("TextColor", d.textColor)
      .Boolean("Transparent", d.transparent)
      .String("Text", d.text)
      .Boolean("Visible", true)
      .Boolean("Bold", d.bold)
      .Boolean("Italic", d.italic)
      .String("FontName", d.fontName)
      .Boolean("Underline", d.underline)
      .Single("FontSize", d.fontSize)
      .FontUnit("FontUnit", FontUnits::Default)
      .String("DataSource", "")
      .String("DataField", "")
      .String("InitialParent", "");
}

constexpr void Write(DesignListWriter& w, const PushButtonDesign& d) {
  detail::WriteControlHead(w, d.name, d.left, d.top, d.width, d.height, d.tabIndex);
  w.Integer("MacButtonStyle", 0)
      .Boolean("Cancel", d.cancel)
      .String("Caption", d.caption)
      .Boolean("Default", d.isDefault)
      .Boolean("Enabled", true)
      .String("Tooltip", "")
      .Boolean("Transparent", false)
      .Boolean("Visible", true)
      .String("FontName", d.fontName)
      .Single("FontSize", d.fontSize)
      .FontUnit("FontUnit", FontUnits::Default)
      .Boolean("Bold", d.bold)
      .Boolean("Italic", d.italic)
      .Boolean("Underline", d.underline)
      .String("InitialParent", "");
}

constexpr void Write(DesignListWriter& w, const CanvasDesign& d) {
  detail::WriteControlHead(w, d.name, d.left, d.top, d.width, d.height, d.tabIndex);
  // Transparent stands twice in a canvas's list, with the same value.
  w.Boolean("Enabled", true)
      .String("Tooltip", "")
      .Boolean("AllowFocusRing", d.allowFocusRing)
      .Boolean("Visible", true)
      .Boolean("AllowFocus", d.allowFocus)
      .Boolean("AllowTabs", d.allowTabs)
      .Boolean("Transparent", d.transparent)
      .Boolean("DoubleBuffer", d.doubleBuffer)
      .Boolean("Transparent", d.transparent)
      .String("InitialParent", "");
}

// The bytes of one design as a constant:
//   constexpr auto kList = Encode<[] { return LabelDesign{.name = "lResponse", ...}; }>();
template <auto MakeDesign>
constexpr auto Encode() {
  return EncodeDesignList<[](DesignListWriter& w) { Write(w, MakeDesign()); }>();
}

}  // namespace platform
