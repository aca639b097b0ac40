#pragma once

// The mouse's button tables and what is written into its key table. No device access here.
//
// The mouse reports its factory function code for each key slot (its default key table, 3 bytes
// per slot). The page numbers its buttons by `DefaultButtonCodeTable`; `ButtonSlotMap` finds each
// button's slot by looking its factory code up in the default key table. A button whose code the
// table lacks has no slot (kNoSlot) and is never written.
//
// Macro calls (type 0x70 or 0x71, macro number in the second byte) name a macro by its position
// in the macro list; the device numbers macros by their position in the macro image it holds. The
// key table written to the mouse therefore carries image positions: the distinct macro numbers in
// button order, first use first (ListUsedMacros gives that order, and the image is built in it).
// A call of a macro the list does not have is written as the button's default assignment.

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string_view>
#include <vector>

#include "profiles/key_assignment.h"

namespace vorlin {

struct DefaultButtonCode {
  std::array<uint8_t, 3> code;
  std::string_view label;  // text key of the button's label on the page
};

inline constexpr std::array<DefaultButtonCode, 11> kDefaultButtonCodeTable{{
    {{0x10, 0x01, 0x00}, "mouse_key_left"},
    {{0x10, 0x02, 0x00}, "mouse_key_right"},
    {{0x10, 0x04, 0x00}, "mouse_key_middle"},
    {{0x10, 0x10, 0x00}, "mouse_key_forward"},
    {{0x10, 0x08, 0x00}, "mouse_key_back"},
    {{0x13, 0x01, 0x00}, "mouse_key_DPI_add"},
    {{0x13, 0x02, 0x00}, "mouse_key_DPI_sub"},
    {{0x13, 0x03, 0x00}, "mouse_key_DPI_loop"},
    {{0xA0, 0x1B, 0x00}, "keyboard_key_GM"},
    {{0x16, 0x90, 0x01}, "mouse_key_M8_key"},
    {{0x14, 0x78, 0x02}, "mouse_key_fire_key"},
}};

inline constexpr int kNoSlot = 170;
// The most key slots a 512-byte key table describes.
inline constexpr int kKeyTableSlots = 170;
inline constexpr size_t kKeyCodeBytes = 3;

// Button index -> key slot. Every index below the key count starts as kNoSlot; each button of
// DefaultButtonCodeTable then maps to the first slot below the key count whose factory code
// equals its own. A key count beyond the table (or beyond 170) counts only the slots the table
// holds.
using ButtonSlotMap = std::map<int, int>;
ButtonSlotMap BuildButtonSlotMap(std::span<const uint8_t> default_table, int key_count);

bool IsMacroCall(const KeyAssignment& assignment);

// The distinct macro numbers the buttons with a slot call, in button order, first use first;
// only numbers below `macro_count`.
std::vector<int> ListUsedMacros(const ButtonSlotMap& slots,
                                const std::vector<KeyAssignmentPair>& keys, int macro_count);

// The key table to write: the first key count x 3 bytes of the default key table with each
// mapped button's current code at its slot, macro calls renumbered to image positions and calls
// of missing macros replaced by the default. Buttons without a key list entry or whose slot lies
// outside the table are left at their factory code. Empty when the key count is negative or the
// table does not hold key count x 3 bytes.
std::vector<uint8_t> BuildKeyTable(std::span<const uint8_t> default_table, int key_count,
                                   const ButtonSlotMap& slots,
                                   const std::vector<KeyAssignmentPair>& keys, int macro_count);

// Every macro call of a number not below `macro_count` replaced by its default assignment.
// Returns true when anything changed.
bool DropMissingMacroCalls(std::vector<KeyAssignmentPair>& keys, int macro_count);

}  // namespace vorlin
