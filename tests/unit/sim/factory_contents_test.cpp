#include "sim/factory_contents.h"

#include <gtest/gtest.h>

#include <set>

namespace vorlin {
namespace {

using Code = std::array<uint8_t, 3>;

Code CodeAt(const FirmwareMemory& m, size_t slot) {
  return {m.defaultKeyTable[slot * 3], m.defaultKeyTable[slot * 3 + 1],
          m.defaultKeyTable[slot * 3 + 2]};
}

int FirstSlotWith(const FirmwareMemory& m, const Code& code) {
  for (size_t s = 0; s < m.KeyCount(); ++s) {
    if (CodeAt(m, s) == code) return static_cast<int>(s);
  }
  return -1;
}

TEST(FactoryContents, DeviceInformationFitsTheLayout) {
  for (FirmwareKind kind : {FirmwareKind::Mouse, FirmwareKind::Keyboard, FirmwareKind::MousePad,
                            FirmwareKind::Headset}) {
    SCOPED_TRACE(FirmwareKindName(kind));
    const FirmwareMemory m = MakeFactoryMemory(kind);
    ASSERT_EQ(m.deviceInfo.size(), kDeviceInfoSize);
    // The key tables the program reads (key count x 3) and the LED table fit their areas.
    EXPECT_LE(m.KeyCount() * 3u, m.defaultKeyTable.size());
    EXPECT_LE(m.KeyCount() * 3u, kKeyTablePageSize);
    EXPECT_LE(m.KeyCount(), m.keyLedTable.size());
    // The macro capacity announced is exactly the macro area.
    EXPECT_EQ(m.MacroCapacity(), m.macro.size());
    // The record the program reads for the current profile lies inside the parameter area.
    EXPECT_EQ(m.ParamRecord(m.CurrentProfile()).size(), ParamRecordSize(kind));
    EXPECT_LE(ParamWriteOffset(kind, m.layout.profiles - 1) + kPadParamWriteSize, m.params.size());
    EXPECT_EQ(m.status.size(), kStatusRecordSize);
  }
}

TEST(FactoryContents, MouseCarriesItsSensorAndButtons) {
  const FirmwareMemory m = MakeFactoryMemory(FirmwareKind::Mouse);
  EXPECT_EQ(m.KeyCount(), 15);
  EXPECT_EQ(m.deviceInfo[9] | (m.deviceInfo[10] << 8), 0x3325);
  EXPECT_EQ(m.deviceInfo[11], 50);
  EXPECT_EQ(m.deviceInfo[14] | (m.deviceInfo[15] << 8), 50);
  // Every button the mouse page knows is somewhere in the factory table, exactly once.
  const Code pageButtons[] = {{0x10, 0x01, 0x00}, {0x10, 0x02, 0x00}, {0x10, 0x04, 0x00},
                              {0x10, 0x10, 0x00}, {0x10, 0x08, 0x00}, {0x13, 0x01, 0x00},
                              {0x13, 0x02, 0x00}, {0x13, 0x03, 0x00}, {0xA0, 0x1B, 0x00},
                              {0x16, 0x90, 0x01}, {0x14, 0x78, 0x02}};
  std::set<int> slots;
  for (const Code& c : pageButtons) {
    const int slot = FirstSlotWith(m, c);
    EXPECT_GE(slot, 0) << int(c[0]) << " " << int(c[1]);
    slots.insert(slot);
  }
  EXPECT_EQ(slots.size(), std::size(pageButtons));
  // The current key table starts as the factory table.
  EXPECT_TRUE(std::equal(m.defaultKeyTable.begin(), m.defaultKeyTable.end(), m.keyTable.begin()));
  // Profile 0's DPI stages are enabled and increasing.
  const std::span<const uint8_t> r = m.ParamRecord(0);
  int previous = -1;
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(r[14 + 9 * i], 1);
    const int code = r[16 + 9 * i] | (r[17 + 9 * i] << 8);
    EXPECT_GT(code, previous);
    previous = code;
  }
  EXPECT_LT(r[12], 6);  // the current stage exists
}

TEST(FactoryContents, KeyboardSlotsHoldEveryKeyOnce) {
  const FirmwareMemory m = MakeFactoryMemory(FirmwareKind::Keyboard);
  EXPECT_EQ(m.KeyCount(), kKeyboardKeyCount);
  std::set<int> slots;
  for (int key = 0; key < 126; ++key) slots.insert(KeyboardSlotOfKey(key));
  EXPECT_EQ(slots.size(), 126u);
  EXPECT_EQ(*slots.begin(), 0);
  EXPECT_EQ(*slots.rbegin(), 125);

  const Code empty = {0x20, 0x00, 0x00};
  for (int key = 0; key < 126; ++key) {
    const Code code = kKeyboardFactoryCodes[static_cast<size_t>(key)];
    if (code == empty) continue;  // placeholders share the first empty slot
    // A key is found at its own slot, and no earlier slot carries the same code.
    EXPECT_EQ(FirstSlotWith(m, code), KeyboardSlotOfKey(key)) << "key " << key;
  }
  EXPECT_GE(FirstSlotWith(m, empty), 0);
  // LEDs are numbered below the LED table's end, so every key with a slot has a light.
  for (size_t s = 0; s < m.KeyCount(); ++s) EXPECT_LT(m.keyLedTable[s], kMaxKeySlots);
  // Spot checks against the keyboard's factory layout: Esc, the game-mode key and M5.
  EXPECT_EQ(CodeAt(m, static_cast<size_t>(KeyboardSlotOfKey(0))), (Code{0x20, 0x00, 0x29}));
  EXPECT_EQ(CodeAt(m, static_cast<size_t>(KeyboardSlotOfKey(16))), (Code{0xA0, 0x1B, 0x00}));
  EXPECT_EQ(CodeAt(m, static_cast<size_t>(KeyboardSlotOfKey(124))), (Code{0xD0, 0xA2, 0x05}));
}

TEST(FactoryContents, KeyboardRecordsFollowTheProfileNumber) {
  const FirmwareMemory m = MakeFactoryMemory(FirmwareKind::Keyboard);
  // The record of profile p is read at p x 33; its lighting head starts at byte 1.
  for (int p = 0; p < m.layout.profiles; ++p) {
    const std::span<const uint8_t> r = m.ParamRecord(p);
    EXPECT_EQ(r.data() - m.params.data(), p * 33);
    EXPECT_NE(r[1], 0) << "profile " << p << " has an effect";
    EXPECT_LE(r[2], 4);
    EXPECT_LE(r[22], 3);
  }
  EXPECT_EQ(m.CurrentProfile(), 0);
}

}  // namespace
}  // namespace vorlin
