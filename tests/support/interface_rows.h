#pragma once

// A fixed table of interface rows for the discovery tests: the products' command and event
// collections, the keyboard's rows with ids no interface presents. Kept apart from the product
// catalogue so that the slot list and the scanner are tested against rows that do not move.

#include <vector>

#include "hid/device_tables.h"

namespace vorlin::testing {

inline const std::vector<InterfaceEntry>& TestInterfaceRows() {
  static const std::vector<InterfaceEntry> rows = {
      {0x0000, 0x0000, 1, 4, kKindKeyboard, kRoleCommand, 0, 0xFF1C, 0x92, 1, 2, {}},
      {0x0000, 0x0000, 1, 3, kKindKeyboard, kRoleEvent, 0, 0x0C, 0x01, 1, 3, {}},
      {0x0000, 0x0000, 1, 4, kKindKeyboardReceiver, kRoleCommand, 0, 0xFF1C, 0x92, 1, 0, {}},
      {0x0000, 0x0000, 1, 3, kKindKeyboardReceiver, kRoleEvent, 0, 0x0C, 0x01, 1, 1, {}},
      {0x320F, 0x225E, 1, 4, kKindMouse, kRoleCommand, 0, 0xFF1C, 0x92, 1, 6, {}},
      {0x320F, 0x225E, 1, 3, kKindMouse, kRoleEvent, 0, 0x0C, 0x01, 1, 7, {}},
      {0x320F, 0x225F, 1, 4, kKindMouseReceiver, kRoleCommand, 0, 0xFF1C, 0x92, 1, 4, {}},
      {0x320F, 0x225F, 1, 3, kKindMouseReceiver, kRoleEvent, 0, 0x0C, 0x01, 1, 5, {}},
      {0x320F, 0x1004, 1, 4, kKindMousePad, kRoleCommand, 0, 0xFF1C, 0x92, 0, 0, {}},
      {0x320F, 0x1004, 1, 3, kKindMousePad, kRoleEvent, 0, 0x0C, 0x01, 0, 0, {}},
      {0x0C76, 0x1630, 3, 0, kKindHeadset, kRoleCommand, 0, 0x0C, 0x01, 0, 0, {}},
  };
  return rows;
}

}  // namespace vorlin::testing
