#pragma once

// Which function panels a page shows for a function view code: the tab of
// "device_function_switch" and the tab of "device_key_function_switch" (-1: left as it is).

#include <cstdint>
#include <span>

#include "catalogue/product_catalogue.h"

namespace vorlin {

struct FunctionTabs {
  int function = 0;
  int keyFunction = 0;  // -1: unchanged
  bool operator==(const FunctionTabs&) const = default;
};

// `kind` is the device kind code of the page (4 selects another function tab on the mouse and the
// keyboard, kinds 2 and 1, than on the other devices).
FunctionTabs FunctionTabsFor(int view, uint32_t kind);

// The view codes of the page's function tabs.
inline constexpr int kLightingView = 1;
inline constexpr int kKeysView = 2;
inline constexpr int kMacrosView = 3;
inline constexpr int kSettingsView = 4;
inline constexpr int kPointerView = 5;
inline constexpr int kRecoilView = 9;

// One tab of the page's function strip: the option's control name, the view code it selects and
// the text key of its caption.
struct FunctionTab {
  const char* name;
  int view;
  const char* text_key;
};

// The function tabs a page of the family offers, in strip order. A tab is shown only once its
// panel is on the page.
std::span<const FunctionTab> FunctionTabsOf(DeviceFamily family);

}  // namespace vorlin
