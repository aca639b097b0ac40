// The mouse's button-to-slot map and the key table written from the key list, with macro calls
// renumbered to their image positions.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "devices/mouse_key_tables.h"

namespace vorlin {
namespace {

using Code = std::array<uint8_t, 3>;

// A default key table holding `codes` in slot order, zero beyond.
std::vector<uint8_t> Table(const std::vector<Code>& codes) {
  std::vector<uint8_t> table(512, 0);
  for (size_t s = 0; s < codes.size(); ++s)
    std::copy(codes[s].begin(), codes[s].end(), table.begin() + static_cast<long>(s * 3));
  return table;
}

Code Row(size_t button) {
  return kDefaultButtonCodeTable[button].code;
}

// The factory layout of the emulated mouse: back and forward swapped, the fire, shift and game
// keys in another order, and four slots of its own.
std::vector<Code> FactorySlots() {
  return {Row(0), Row(1), Row(2), Row(4), Row(3), Row(5), Row(6), Row(7), Row(10), Row(9),
          Row(8), {0x13, 0x04, 0}, {0x16, 0x01, 0}, {0x16, 0x02, 0}, {0x20, 0x00, 0xE7}};
}

KeyAssignmentPair Pair(uint16_t index, Code current, Code factory) {
  return {{index, current, 0}, {index, factory, 0}};
}

// A key list of the eleven buttons at their factory codes.
std::vector<KeyAssignmentPair> FactoryKeys() {
  std::vector<KeyAssignmentPair> keys;
  for (size_t j = 0; j < kDefaultButtonCodeTable.size(); ++j)
    keys.push_back(Pair(static_cast<uint16_t>(j), Row(j), Row(j)));
  return keys;
}

TEST(MouseKeyTablesTest, ButtonsFindTheirSlotsByFactoryCode) {
  struct Case {
    const char* what;
    std::vector<Code> slots;
    int key_count;
    ButtonSlotMap expected;
  };
  std::vector<Code> missing_fire = FactorySlots();
  missing_fire[8] = {0x14, 0x78, 0x03};
  std::vector<Code> twice = {Row(1), Row(0), Row(0)};
  const std::vector<Case> cases = {
      {"the emulated mouse", FactorySlots(), 15,
       {{0, 0}, {1, 1}, {2, 2}, {3, 4}, {4, 3}, {5, 5}, {6, 6}, {7, 7}, {8, 10}, {9, 9},
        {10, 8}, {11, 170}, {12, 170}, {13, 170}, {14, 170}}},
      {"no fire key in the factory table", missing_fire, 15,
       {{0, 0}, {1, 1}, {2, 2}, {3, 4}, {4, 3}, {5, 5}, {6, 6}, {7, 7}, {8, 10}, {9, 9},
        {10, 170}, {11, 170}, {12, 170}, {13, 170}, {14, 170}}},
      {"the first equal slot wins", twice, 3, {{0, 1}, {1, 0}, {2, 170}}},
      {"slots beyond the key count are not looked at", FactorySlots(), 3,
       {{0, 0}, {1, 1}, {2, 2}}},
      {"key count 0", FactorySlots(), 0, {}},
      {"a button found below a small key count", {Row(9), Row(0)}, 2, {{0, 1}, {1, 170}, {9, 0}}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(BuildButtonSlotMap(Table(c.slots), c.key_count), c.expected) << c.what;

  // A key count beyond the table counts only the 170 slots it holds.
  std::vector<Code> last(170, Code{0x99, 0, 0});
  last[169] = Row(0);
  const ButtonSlotMap big = BuildButtonSlotMap(Table(last), 255);
  EXPECT_EQ(big.size(), 170u);
  EXPECT_EQ(big.at(0), 169);
}

TEST(MouseKeyTablesTest, TheKeyTableCarriesTheAssignmentsAtTheirSlots) {
  const std::vector<uint8_t> defaults = Table(FactorySlots());
  const ButtonSlotMap map = BuildButtonSlotMap(defaults, 15);
  std::vector<KeyAssignmentPair> keys = FactoryKeys();
  keys[3].current.code = {0x20, 0x00, 0x04};  // forward (slot 4) types "a"
  keys[10].current.code = {0x10, 0x01, 0x00};  // the fire key (slot 8) clicks left
  const std::vector<uint8_t> table = BuildKeyTable(defaults, 15, map, keys, 0);
  std::vector<uint8_t> expected(defaults.begin(), defaults.begin() + 45);
  expected[12] = 0x20, expected[13] = 0x00, expected[14] = 0x04;
  expected[24] = 0x10, expected[25] = 0x01, expected[26] = 0x00;
  EXPECT_EQ(table, expected);
}

TEST(MouseKeyTablesTest, MacroCallsAreWrittenAsImagePositions) {
  const std::vector<uint8_t> defaults = Table(FactorySlots());
  const ButtonSlotMap map = BuildButtonSlotMap(defaults, 15);
  struct Case {
    const char* what;
    std::vector<std::pair<size_t, Code>> calls;  // button, current code
    int macro_count;
    std::vector<std::pair<int, Code>> written;   // slot, code written
    std::vector<int> used;
  };
  const std::vector<Case> cases = {
      {"two calls of macro 5 and one of macro 2",
       {{0, {0x70, 5, 0}}, {1, {0x71, 5, 1}}, {2, {0x70, 2, 0}}}, 6,
       {{0, {0x70, 0, 0}}, {1, {0x71, 0, 1}}, {2, {0x70, 1, 0}}}, {5, 2}},
      {"macro 3 of a list of 3 goes back to the default",
       {{3, {0x70, 3, 0}}, {4, {0x70, 0, 0}}}, 3,
       {{4, Row(3)}, {3, {0x70, 0, 0}}}, {0}},
      {"no macro list at all", {{0, {0x71, 0, 0}}}, 0, {{0, Row(0)}}, {}},
      {"button order counts, not slot order",
       {{3, {0x70, 1, 0}}, {4, {0x70, 7, 0}}}, 8,
       {{4, {0x70, 0, 0}}, {3, {0x70, 1, 0}}}, {1, 7}},
  };
  for (const Case& c : cases) {
    std::vector<KeyAssignmentPair> keys = FactoryKeys();
    for (const auto& [button, code] : c.calls) keys[button].current.code = code;
    const std::vector<uint8_t> table = BuildKeyTable(defaults, 15, map, keys, c.macro_count);
    ASSERT_EQ(table.size(), 45u) << c.what;
    for (const auto& [slot, code] : c.written) {
      const Code at = {table[slot * 3], table[slot * 3 + 1], table[slot * 3 + 2]};
      EXPECT_EQ(at, code) << c.what << ", slot " << slot;
    }
    EXPECT_EQ(ListUsedMacros(map, keys, c.macro_count), c.used) << c.what;
  }
}

TEST(MouseKeyTablesTest, ButtonsWithoutSlotOrEntryLeaveTheFactoryCode) {
  std::vector<Code> slots = FactorySlots();
  slots[8] = {0x14, 0x78, 0x03};  // no fire key: button 10 has no slot
  const std::vector<uint8_t> defaults = Table(slots);
  const ButtonSlotMap map = BuildButtonSlotMap(defaults, 15);
  std::vector<KeyAssignmentPair> keys = FactoryKeys();
  keys[10].current.code = {0x70, 0, 0};
  keys.resize(11);
  std::vector<uint8_t> expected(defaults.begin(), defaults.begin() + 45);
  EXPECT_EQ(BuildKeyTable(defaults, 15, map, keys, 4), expected);
  EXPECT_TRUE(ListUsedMacros(map, keys, 4).empty());

  // A key list shorter than the buttons: the others keep their factory codes.
  std::vector<KeyAssignmentPair> short_list = FactoryKeys();
  short_list.resize(2);
  short_list[1].current.code = {0x20, 0, 5};
  const std::vector<uint8_t> table = BuildKeyTable(defaults, 15, map, short_list, 0);
  expected[3] = 0x20, expected[4] = 0, expected[5] = 5;
  EXPECT_EQ(table, expected);

  // A map from another key count: slots beyond this table are not written.
  EXPECT_EQ(BuildKeyTable(defaults, 2, map, FactoryKeys(), 0),
            std::vector<uint8_t>(defaults.begin(), defaults.begin() + 6));
  EXPECT_TRUE(BuildKeyTable(defaults, 0, map, FactoryKeys(), 0).empty());
  EXPECT_TRUE(BuildKeyTable(defaults, 171, map, FactoryKeys(), 0).empty());
}

TEST(MouseKeyTablesTest, CallsOfMissingMacrosFallBackToTheDefault) {
  std::vector<KeyAssignmentPair> keys = FactoryKeys();
  keys[0].current.code = {0x70, 2, 0};
  keys[1].current.code = {0x71, 3, 0};
  keys[2].current.code = {0x20, 0, 3};  // not a macro call: stays
  std::vector<KeyAssignmentPair> expected = keys;
  expected[1].current = expected[1].factory;
  EXPECT_TRUE(DropMissingMacroCalls(keys, 3));
  EXPECT_EQ(keys, expected);
  EXPECT_FALSE(DropMissingMacroCalls(keys, 3));
}

}  // namespace
}  // namespace vorlin
