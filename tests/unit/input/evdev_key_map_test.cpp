// The Linux key codes of the keyboard key table, checked against two independent sources: the
// kernel HID driver's usage-to-key table and the set-1 scan codes that Linux key codes follow.

#include "input/evdev_key_map.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <set>

#include "input/key_name_table.h"

namespace vorlin {
namespace {

// The kernel HID driver's key codes for keyboard usages 0x00-0x65 (drivers/hid/hid-input.c), as
// plain numbers.
constexpr std::array<uint16_t, 0x66> kHidUsageKeys = {
    0,   0,   0,   0,  30, 48,  46, 32, 18,  33,  34,  35,  23,  36,  37,  38,   // 0x00
    50,  49,  24,  25, 16, 19,  31, 20, 22,  47,  17,  45,  21,  44,  2,   3,    // 0x10
    4,   5,   6,   7,  8,  9,   10, 11, 28,  1,   14,  15,  57,  12,  13,  26,   // 0x20
    27,  43,  43,  39, 40, 41,  51, 52, 53,  58,  59,  60,  61,  62,  63,  64,   // 0x30
    65,  66,  67,  68, 87, 88,  99, 70, 119, 110, 102, 104, 111, 107, 109, 106,  // 0x40
    105, 108, 103, 69, 98, 55,  74, 78, 96,  79,  80,  81,  75,  76,  77,  71,   // 0x50
    72,  73,  82,  83, 86, 127,                                                  // 0x60
};
// The international keys and the modifiers.
const std::map<uint8_t, uint16_t> kHidUsageKeysHigh = {
    {0x85, 121}, {0x87, 89},  {0x88, 93},  {0x89, 124}, {0x8A, 92}, {0x8B, 94},
    {0x90, 122}, {0x91, 123}, {0xE0, 29},  {0xE1, 42},  {0xE2, 56}, {0xE3, 125},
    {0xE4, 97},  {0xE5, 54},  {0xE6, 100}, {0xE7, 126},
};

uint16_t KernelKeyOfUsage(uint8_t usage) {
  if (usage < kHidUsageKeys.size()) return kHidUsageKeys[usage];
  const auto it = kHidUsageKeysHigh.find(usage);
  return it == kHidUsageKeysHigh.end() ? 0 : it->second;
}

// The HID usage a row stands for: the modifier's usage (0xE0 + bit number) or the key's usage.
uint8_t UsageOfRow(int row) {
  const FunctionCode code = kKeyNameTable[row].code;
  if (row < kModifierRowCount) return static_cast<uint8_t>(0xE0 + row);
  return code.third;
}

TEST(EvdevKeyMapTest, EveryKeyRowHasTheKernelKeyOfItsUsage) {
  for (int row = 0; row < kKeyboardKeyRowCount; ++row) {
    SCOPED_TRACE(kKeyNameTable[row].name);
    const auto code = EvdevCodeOfKeyRow(row);
    ASSERT_TRUE(code.has_value());
    EXPECT_NE(*code, 0);
    EXPECT_EQ(*code, KernelKeyOfUsage(UsageOfRow(row)));
  }
}

TEST(EvdevKeyMapTest, MappingIsOneToOneAndReversible) {
  std::set<uint16_t> seen;
  for (int row = 0; row < kKeyboardKeyRowCount; ++row) {
    const uint16_t code = *EvdevCodeOfKeyRow(row);
    EXPECT_TRUE(seen.insert(code).second) << row;
    EXPECT_EQ(KeyRowOfEvdevCode(code), row);
    EXPECT_EQ(ScanCodeOfEvdevCode(code), kKeyboardScanCodes[row]);
  }
}

// Linux key codes 1-88 are the set-1 scan codes of the keys without the extended prefix. The one
// exception of the table is Pause, which a low-level hook reports as 45 without the flag.
TEST(EvdevKeyMapTest, PlainScanCodesEqualTheirKeyCodes) {
  int checked = 0;
  for (int row = 0; row < kKeyboardKeyRowCount; ++row) {
    const ScanCode scan = kKeyboardScanCodes[row];
    if (scan.extended || scan.code > 88 || kKeyNameTable[row].name == "keyboard_key_Pause") {
      continue;
    }
    EXPECT_EQ(*EvdevCodeOfKeyRow(row), scan.code) << kKeyNameTable[row].name;
    ++checked;
  }
  EXPECT_GT(checked, 80);
}

TEST(EvdevKeyMapTest, KeysOutsideTheTable) {
  struct Case {
    uint16_t code;
    const char* what;
  };
  const Case cases[] = {
      {0, "reserved"},  {113, "KEY_MUTE"},   {164, "KEY_PLAYPAUSE"},
      {183, "KEY_F13"}, {0x110, "BTN_LEFT"}, {0xFFFF, "out of range"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeyRowOfEvdevCode(c.code), std::nullopt) << c.what;
    EXPECT_EQ(ScanCodeOfEvdevCode(c.code), std::nullopt) << c.what;
  }
  EXPECT_EQ(EvdevCodeOfKeyRow(-1), std::nullopt);
  EXPECT_EQ(EvdevCodeOfKeyRow(kKeyboardKeyRowCount), std::nullopt);  // K42: no key of its own
}

TEST(EvdevKeyMapTest, ExtendedKeys) {
  struct Case {
    uint16_t evdev;
    ScanCode scan;
  };
  // KEY_RIGHTCTRL, KEY_RIGHTSHIFT, KEY_KPENTER, KEY_NUMLOCK, KEY_PAUSE, KEY_SYSRQ, KEY_KPASTERISK.
  const Case cases[] = {{97, {0x1D, true}}, {54, {0x36, true}},   {96, {0x1C, true}},
                        {69, {0x45, true}}, {119, {0x45, false}}, {99, {0x37, true}},
                        {55, {0x37, false}}};
  for (const Case& c : cases) {
    EXPECT_EQ(ScanCodeOfEvdevCode(c.evdev), c.scan) << c.evdev;
  }
}

}  // namespace
}  // namespace vorlin
