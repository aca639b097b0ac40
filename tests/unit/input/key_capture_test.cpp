// Capturing a key in the panel's key edit, followed by the save that every capture triggers.

#include "input/key_capture.h"

#include <gtest/gtest.h>

#include "input/assignment_encode.h"
#include "input/key_name_table.h"
#include "input/panel_kind.h"
#include "unit/input/code_printer.h"

namespace vorlin {
namespace {

constexpr FunctionCode kFactory{0x10, 0x01, 0x00};

struct Panel {
  KeySetFields fields;
  FunctionCode stored{kFnKeyboardKey, 0, 0};
};

// Feeds one key event to the panel; returns the code the save then stores (none when the key
// changed nothing).
std::optional<FunctionCode> Press(Panel& panel, ScanCode scan) {
  const auto captured = CaptureKey(scan, panel.fields.modifier_option);
  if (!captured) return std::nullopt;
  panel.fields.modifier_option = captured->modifier_option;
  panel.fields.key_name = captured->key_name;
  panel.stored = captured->code;
  const EncodedAssignment saved = EncodeAssignment(static_cast<int>(PanelKind::kKeyboardKey),
                                                   panel.fields, panel.stored, kFactory, 0);
  EXPECT_EQ(saved.source, EncodedAssignment::Source::kEncoded);
  panel.stored = saved.code;
  return saved.code;
}

constexpr ScanCode kScanA{0x1E, false};
constexpr ScanCode kScanRightCtrl{0x1D, true};

TEST(KeyCaptureTest, PlainKey) {
  Panel panel;
  EXPECT_EQ(Press(panel, kScanA), (FunctionCode{0x20, 0x00, 0x04}));
  EXPECT_EQ(panel.fields.modifier_option, 0);
  EXPECT_EQ(panel.fields.key_name, "keyboard_key_A");
  // The release arrives as the same record and stores the same code.
  EXPECT_EQ(Press(panel, kScanA), (FunctionCode{0x20, 0x00, 0x04}));
}

TEST(KeyCaptureTest, KeyWithACheckedModifier) {
  Panel panel;
  panel.fields.modifier_option = 2;
  EXPECT_EQ(Press(panel, kScanA), (FunctionCode{0x20, 0x02, 0x04}));
  EXPECT_EQ(panel.fields.modifier_option, 2);
}

TEST(KeyCaptureTest, ModifierKeyChecksItsOptionAndStoresTheLeftBit) {
  Panel panel;
  panel.fields.key_name = "keyboard_key_A";
  EXPECT_EQ(Press(panel, kScanRightCtrl), (FunctionCode{0x20, 0x01, 0x00}));
  EXPECT_EQ(panel.fields.modifier_option, 1);
  EXPECT_TRUE(panel.fields.key_name.empty());
  // Then a key: Ctrl with it.
  EXPECT_EQ(Press(panel, {0x2E, false}), (FunctionCode{0x20, 0x01, 0x06}));
}

TEST(KeyCaptureTest, EveryKeyOfTheTable) {
  for (int row = 0; row < kKeyboardKeyRowCount; ++row) {
    SCOPED_TRACE(kKeyNameTable[row].name);
    const auto captured = CaptureKey(kKeyboardScanCodes[row], std::nullopt);
    ASSERT_TRUE(captured.has_value());
    EXPECT_EQ(captured->row, row);
    EXPECT_EQ(captured->code, kKeyNameTable[row].code);
    if (row < kModifierRowCount) {
      EXPECT_EQ(captured->modifier_option, ModifierOptionOfRow(row));
      EXPECT_TRUE(captured->key_name.empty());
    } else {
      EXPECT_EQ(captured->modifier_option, 0);
      EXPECT_EQ(captured->key_name, kKeyNameTable[row].name);
    }
  }
}

TEST(KeyCaptureTest, KeysOutsideTheTableChangeNothing) {
  Panel panel;
  panel.fields.modifier_option = 3;
  panel.fields.key_name = "keyboard_key_B";
  panel.stored = {0x20, 0x04, 0x05};
  const Panel before = panel;
  for (const ScanCode scan :
       {ScanCode{0x22, true}, ScanCode{0x30, true}, ScanCode{0x00, false}, ScanCode{0xFF, false}}) {
    EXPECT_EQ(Press(panel, scan), std::nullopt);
  }
  EXPECT_EQ(panel.fields, before.fields);
  EXPECT_EQ(panel.stored, before.stored);
}

}  // namespace
}  // namespace vorlin
