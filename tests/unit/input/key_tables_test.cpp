// Consistency of the built-in key tables: the groups of the key-name table, the agreement between
// the key-name table and the panel's lists, and the uniqueness every lookup relies on.

#include <gtest/gtest.h>

#include <set>
#include <string_view>

#include "input/function_tables.h"
#include "input/key_name_table.h"
#include "input/keyboard_key_table.h"
#include "input/mouse_button_name_table.h"
#include "unit/input/code_printer.h"

namespace vorlin {
namespace {

TEST(KeyNameTableTest, RowGroupsCarryTheirFunctionTypes) {
  for (int row = 0; row < static_cast<int>(kKeyNameTable.size()); ++row) {
    SCOPED_TRACE(row);
    const FunctionCode code = kKeyNameTable[row].code;
    if (row < kModifierRowCount) {
      // The eight modifiers, one bit each, in bit order.
      EXPECT_EQ(code, (FunctionCode{kFnKeyboardKey, static_cast<uint8_t>(1u << row), 0}));
    } else if (row < kFirstMediaKeyRow) {
      EXPECT_EQ(code.type, kFnKeyboardKey);
      EXPECT_EQ(code.second, 0);
      EXPECT_NE(code.third, 0);
    } else if (row < kFirstSystemKeyRow) {
      EXPECT_EQ(code.type, kFnConsumer);
    } else if (row < kFirstDeviceKeyRow) {
      EXPECT_EQ(code.type, kFnSystem);
    } else {
      EXPECT_TRUE(code.type == kFnKeyboardMacroKey || code.type == kFnSpecial);
    }
    EXPECT_FALSE(kKeyNameTable[row].name.empty());
  }
}

TEST(KeyNameTableTest, CodesAndNamesAreUnique) {
  std::set<uint32_t> codes;
  std::set<std::string_view> names;
  for (const KeyNameRow& row : kKeyNameTable) {
    EXPECT_TRUE(codes.insert(row.code.Packed()).second) << CodeText(row.code);
    EXPECT_TRUE(names.insert(row.name).second) << row.name;
  }
}

TEST(KeyNameTableTest, SelectedRows) {
  struct Case {
    int row;
    uint16_t virtual_key;
    FunctionCode code;
    std::string_view name;
  };
  const Case cases[] = {
      {0, 0xA2, {0x20, 0x01, 0x00}, "keyboard_key_LCtrl"},
      {8, 0x41, {0x20, 0x00, 0x04}, "keyboard_key_A"},
      {53, 0xDC, {0x20, 0x00, 0x31}, "keyboard_key_xiegang"},
      {91, 0x101, {0x20, 0x00, 0x58}, "keyboard_key_Num Enter"},
      {106, 0xFF, {0x20, 0x00, 0x89}, "keyboard_key_K14"},
      {113, 0xBF, {0x20, 0x00, 0x32}, "keyboard_key_K42"},
      {130, 0xA9, {0x30, 0x26, 0x02}, "wed_stop"},
      {134, 0x105, {0x40, 0x04, 0x00}, "keyboard_key_Wakeup"},
      {139, 0x00, {0xD0, 0xA2, 0x05}, "keyboard_key_M5"},
      {141, 0x00, {0xA0, 0x1B, 0x00}, "keyboard_key_GM"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.row);
    EXPECT_EQ(kKeyNameTable[c.row].virtual_key, c.virtual_key);
    EXPECT_EQ(kKeyNameTable[c.row].code, c.code);
    EXPECT_EQ(kKeyNameTable[c.row].name, c.name);
  }
}

TEST(KeyNameTableTest, LookupsFindEveryRow) {
  for (int row = 0; row < static_cast<int>(kKeyNameTable.size()); ++row) {
    const FunctionCode code = kKeyNameTable[row].code;
    EXPECT_EQ(FindKeyNameRow(code), row);
    if (row >= kModifierRowCount && row < kFirstMediaKeyRow) {
      EXPECT_EQ(FindKeyRowByUsage(code.third), row);
    }
  }
  EXPECT_EQ(FindKeyRowByUsage(0), std::nullopt);
  EXPECT_EQ(FindKeyRowByUsage(0x70), std::nullopt);  // F21: no key of ours
  EXPECT_EQ(FindKeyNameRow({0x20, 0x00, 0x00}), std::nullopt);
}

TEST(KeyNameTableTest, ModifierRowsAndOptions) {
  // Left and right of a pair share an option: 1 Ctrl, 2 Shift, 3 Alt, 4 Win.
  const int options[kModifierRowCount] = {1, 2, 3, 4, 1, 2, 3, 4};
  for (int row = 0; row < kModifierRowCount; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(FindModifierRow(kKeyNameTable[row].code.second), row);
    EXPECT_EQ(ModifierOptionOfRow(row), options[row]);
    // The option stands for the left key's bit.
    EXPECT_EQ(ModifierBitsOfOption(options[row]), kKeyNameTable[options[row] - 1].code.second);
  }
  EXPECT_EQ(FindModifierRow(0x03), std::nullopt);
  EXPECT_EQ(FindModifierRow(0x00), std::nullopt);
  EXPECT_EQ(ModifierBitsOfOption(0), 0);
  EXPECT_EQ(ModifierBitsOfOption(std::nullopt), 0);
  EXPECT_EQ(ModifierBitsOfOption(5), 0);
}

// The panel's media and system lists offer exactly the keys the key-name table names, so that a
// key's own function can always be picked again.
TEST(FunctionTablesTest, MediaAndSystemListsMatchTheKeyNameTable) {
  std::set<uint32_t> named;
  for (int row = kFirstMediaKeyRow; row < kFirstDeviceKeyRow; ++row) {
    named.insert(kKeyNameTable[row].code.Packed());
  }
  std::set<uint32_t> offered;
  for (const FunctionRow& row : kMediaFunctions) offered.insert(row.code.Packed());
  for (const FunctionRow& row : kSystemFunctions) offered.insert(row.code.Packed());
  EXPECT_EQ(offered, named);
  EXPECT_EQ(offered.size(), kMediaFunctions.size() + kSystemFunctions.size());
}

TEST(FunctionTablesTest, ListsHoldOneKindEach) {
  struct Case {
    PanelKind kind;
    uint8_t type;
    size_t rows;
  };
  const Case cases[] = {
      {PanelKind::kMouseButton, kFnMouseButton, 5}, {PanelKind::kDpi, kFnDpi, 3},
      {PanelKind::kMedia, kFnConsumer, 18},         {PanelKind::kSystem, kFnSystem, 3},
      {PanelKind::kGunKey, kFnGunKey, 4},           {PanelKind::kCombination, kFnKeyboardKey, 11},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    const auto table = FunctionTableOf(c.kind);
    ASSERT_EQ(table.size(), c.rows);
    std::set<uint32_t> codes;
    for (size_t i = 0; i < table.size(); ++i) {
      EXPECT_EQ(table[i].code.type, c.type);
      EXPECT_TRUE(codes.insert(table[i].code.Packed()).second);
      EXPECT_EQ(FindFunctionRow(table, table[i].code), static_cast<int>(i));
    }
  }
  EXPECT_TRUE(FunctionTableOf(PanelKind::kFire).empty());
  EXPECT_TRUE(FunctionTableOf(PanelKind::kDefault).empty());
  // Every combination is right Ctrl with a key the key-name table knows.
  for (const FunctionRow& row : kCombinationFunctions) {
    EXPECT_EQ(row.code.second, kModRightCtrl);
    EXPECT_TRUE(FindKeyRowByUsage(row.code.third).has_value()) << row.name;
  }
}

TEST(FunctionTablesTest, MouseButtonNamesAgreeWithTheButtonList) {
  for (const FunctionRow& button : kMouseButtonFunctions) {
    const auto row = FindFunctionRow(kMouseButtonNameTable, button.code);
    ASSERT_TRUE(row.has_value()) << button.name;
    EXPECT_EQ(kMouseButtonNameTable[*row].name, button.name);
  }
  // The mouse's factory DPI-shift code 16 90 01 carries 400.
  EXPECT_EQ((FunctionCode{0x16, 0x90, 0x01}).Parameter(), 400);
}

TEST(FunctionCodeTest, PackedFormOfTheDocuments) {
  const FunctionCode code{0x12, 0x47, 0x9B};
  EXPECT_EQ(code.Packed(), 0x12479Bu);
  EXPECT_EQ(FunctionCode::FromPacked(0x12479B), code);
  EXPECT_EQ(FunctionCode::FromPacked(0xFF12479B), code);  // only 24 bits are used
  EXPECT_EQ(FunctionCode::FromBytes(code.Bytes()), code);
}

TEST(KeyboardKeyTableTest, ScanCodePairsAreUniqueAndFound) {
  std::set<std::pair<uint8_t, bool>> pairs;
  for (int row = 0; row < kKeyboardKeyRowCount; ++row) {
    const ScanCode scan = kKeyboardScanCodes[row];
    EXPECT_TRUE(pairs.insert({scan.code, scan.extended}).second) << row;
    EXPECT_EQ(FindKeyboardKeyRow(scan), row);
  }
}

TEST(KeyboardKeyTableTest, SelectedScanCodes) {
  struct Case {
    int row;
    ScanCode scan;
  };
  const Case cases[] = {
      {0, {0x1D, false}},  {4, {0x1D, true}},  {5, {0x36, true}},   {8, {0x1E, false}},
      {44, {0x1C, false}}, {73, {0x37, true}}, {75, {0x45, false}}, {86, {0x45, true}},
      {88, {0x37, false}}, {91, {0x1C, true}}, {103, {0x5D, true}}, {112, {0x72, false}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(kKeyboardScanCodes[c.row], c.scan) << c.row;
  }
  EXPECT_EQ(FindKeyboardKeyRow({0x22, true}), std::nullopt);  // play/pause: not a table key
  EXPECT_EQ(FindKeyboardKeyRow({0x1E, true}), std::nullopt);
}

}  // namespace
}  // namespace vorlin
