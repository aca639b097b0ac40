#pragma once

// Which function panels a page shows for a function view code: the tab of
// "device_function_switch" and the tab of "device_key_function_switch" (-1: left as it is).

#include <cstdint>

namespace vorlin {

struct FunctionTabs {
  int function = 0;
  int keyFunction = 0;  // -1: unchanged
  bool operator==(const FunctionTabs&) const = default;
};

// `kind` is the device kind code of the page (4 selects another function tab on the mouse and the
// keyboard, kinds 2 and 1, than on the other devices).
FunctionTabs FunctionTabsFor(int view, uint32_t kind);

}  // namespace vorlin
