#pragma once

// The kinds of function the key-assignment panel offers. Each item of the function combo box
// carries its kind as its tag, and each kind has the page of the same number in the panel's tab
// layout.

namespace vorlin {

enum class PanelKind : int {
  kDefault = 0,  // the key's factory function (also shown for "no function")
  kMouseButton = 1,
  kHorizontalScroll = 2,
  kVerticalScroll = 3,
  kDpi = 4,
  kFire = 5,
  kKeyboardKey = 6,
  kMedia = 7,
  kSystem = 8,
  kMacro = 9,
  kGunKey = 10,
  kCombination = 11,
};

inline constexpr int kPanelKindCount = 12;

}  // namespace vorlin
