// Names of key functions as the device pages list them.

#include "input/assignment_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/function_tables.h"
#include "input/key_name_table.h"
#include "input/mouse_button_name_table.h"
#include "unit/input/code_printer.h"

namespace vorlin {
namespace {

// Marks every resolved text key, so that the tests see what was translated and how parts join.
std::string Bracket(std::string_view key) {
  return "[" + std::string(key) + "]";
}

std::string NameOf(FunctionCode code, const std::vector<std::string>& macros = {}) {
  return AssignmentName(code, macros, Bracket);
}

TEST(AssignmentNameTest, EveryListRowIsNamedByItsList) {
  for (const PanelKind kind : {PanelKind::kMouseButton, PanelKind::kDpi, PanelKind::kMedia,
                               PanelKind::kSystem, PanelKind::kGunKey, PanelKind::kCombination}) {
    for (const FunctionRow& row : FunctionTableOf(kind)) {
      SCOPED_TRACE(CodeText(row.code));
      if (kind == PanelKind::kCombination) {
        // The shortcuts are plain keys with right Ctrl: named by their parts.
        const auto key = FindKeyRowByUsage(row.code.third);
        ASSERT_TRUE(key.has_value());
        EXPECT_EQ(NameOf(row.code), "[keyboard_key_RCtrl]+" + Bracket(kKeyNameTable[*key].name));
      } else {
        EXPECT_EQ(NameOf(row.code), Bracket(row.name));
      }
    }
  }
}

TEST(AssignmentNameTest, EveryKeyNameRowOutsideTheListsIsNamedByTheTable) {
  for (int row = 0; row < static_cast<int>(kKeyNameTable.size()); ++row) {
    if (row >= kFirstMediaKeyRow && row < kFirstDeviceKeyRow) continue;  // the lists name those
    const KeyNameRow& key = kKeyNameTable[row];
    EXPECT_EQ(NameOf(key.code), Bracket(key.name)) << row;
  }
}

TEST(AssignmentNameTest, FactoryFunctions) {
  struct Case {
    FunctionCode code;
    std::string name;
  };
  const Case cases[] = {
      {{0x00, 0x00, 0x00}, "[com_key_nothing]"},
      {{0x00, 0x00, 0x04}, "[com_key_nothing]"},  // no function, whatever its parameters
      {{0x11, 0x23, 0x05}, "[mouse_key_left_Swing]"},
      {{0x11, 0x23, 0x85}, "[mouse_key_right_Swing]"},
      {{0x12, 0x47, 0x1B}, "[mouse_key_up_Swing]"},
      {{0x12, 0x47, 0x9B}, "[mouse_key_down_Swing]"},
      {{0x14, 0x50, 0x02}, "[mouse_key_fire_key]"},
      {{0x15, 0x03, 0x00}, "[mouse_key_report_loop]"},
      {{0x16, 0x90, 0x01}, "[mouse_key_DPI_shift]"},
      {{0x23, 0x00, 0x00}, "[show_window]"},
      {{0xA0, 0x00, 0x00}, "[com_key_nothing]"},
      {{0xA0, 0x02, 0x00}, "[mouse_key_smart_key]"},
      // Fn and game mode are keyboard keys, not mouse buttons with the same second byte.
      {{0xA0, 0x01, 0x00}, "[keyboard_key_FN]"},
      {{0xA0, 0x1B, 0x00}, "[keyboard_key_GM]"},
      {{0xD0, 0xA2, 0x03}, "[keyboard_key_M3]"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NameOf(c.code), c.name) << CodeText(c.code);
  }
}

TEST(AssignmentNameTest, UnknownFunctionsAndUnmatchedCodes) {
  const std::string unknown = Bracket(kUnknownFunctionName);
  EXPECT_EQ(kUnknownFunctionName, "关闭");
  struct Case {
    FunctionCode code;
    std::string name;
  };
  const Case cases[] = {
      {{0x99, 0x01, 0x02}, unknown},
      {{0xB0, 0x00, 0x00}, unknown},
      {{0x15, 0x01, 0x00}, unknown},
      {{0xD0, 0xA2, 0x09}, unknown},
      // A known function type whose parameters match nothing has no name.
      {{0x10, 0x20, 0x00}, ""},
      {{0x13, 0x07, 0x00}, ""},
      {{0x30, 0x01, 0x00}, ""},
      {{0x40, 0x08, 0x00}, ""},
      {{0x72, 0x04, 0x00}, ""},
      {{0xA0, 0x05, 0x00}, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NameOf(c.code), c.name) << CodeText(c.code);
  }
}

TEST(AssignmentNameTest, KeysWithModifiersAreNamedByTheirParts) {
  struct Case {
    FunctionCode code;
    std::string name;
  };
  const Case cases[] = {
      {{0x20, 0x01, 0x04}, "[keyboard_key_LCtrl]+[keyboard_key_A]"},
      {{0x20, 0x20, 0x3A}, "[keyboard_key_RShift]+[keyboard_key_F1]"},
      {{0x20, 0x03, 0x04}, "[keyboard_key_LCtrl]+[keyboard_key_LShift]+[keyboard_key_A]"},
      {{0x20, 0x05, 0x00}, "[keyboard_key_LCtrl]+[keyboard_key_LAlt]"},
      {{0x20, 0x88, 0x00}, "[keyboard_key_LWin]+[keyboard_key_RWin]"},
      {{0x20, 0x00, 0x00}, "[com_key_nothing]"},
      // A usage without a key of ours names only the modifiers.
      {{0x20, 0x04, 0x70}, "[keyboard_key_LAlt]"},
      {{0x20, 0x00, 0x70}, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NameOf(c.code), c.name) << CodeText(c.code);
  }
}

TEST(AssignmentNameTest, MacroCallsAreNamedByTheMacro) {
  const std::vector<std::string> macros = {"Reload", "Build 7"};
  // The macro's own name, not a text key.
  EXPECT_EQ(NameOf({0x70, 0x01, 0x00}, macros), "Build 7");
  EXPECT_EQ(NameOf({0x71, 0x00, 0x05}, macros), "Reload");
  EXPECT_EQ(NameOf({0x70, 0x02, 0x00}, macros), "");
  EXPECT_EQ(NameOf({0x71, 0xFF, 0x00}, macros), "");
  EXPECT_EQ(NameOf({0x70, 0x00, 0x00}), "");
}

}  // namespace
}  // namespace vorlin
