// Showing a code in the key-assignment panel and reading the controls back: every selectable code
// survives the round trip, and codes the panel cannot show never turn into garbage.

#include <gtest/gtest.h>

#include <span>

#include "input/assignment_decode.h"
#include "input/assignment_encode.h"
#include "input/function_tables.h"
#include "input/key_name_table.h"
#include "unit/input/code_printer.h"

namespace vorlin {
namespace {

using Source = EncodedAssignment::Source;

constexpr FunctionCode kFactory{0x10, 0x01, 0x00};

struct Shown {
  DecodedAssignment decoded;
  KeySetFields fields;
};

Shown Show(FunctionCode code, int macro_count = 0, KeySetFields fields = {}) {
  const DecodedAssignment decoded = DecodeAssignment(code, false, macro_count, fields);
  return {decoded, fields};
}

// Show `code`, then save the panel as it stands: the code it then stores.
EncodedAssignment ShowAndSave(FunctionCode code, int macro_count = 0) {
  const Shown shown = Show(code, macro_count);
  EXPECT_TRUE(shown.decoded.kind.has_value()) << CodeText(code);
  const FunctionCode stored = shown.decoded.corrected_code.value_or(code);
  return EncodeAssignment(static_cast<int>(shown.decoded.kind.value_or(PanelKind::kDefault)),
                          shown.fields, stored, kFactory, macro_count);
}

// The combo of each table kind.
struct TableKind {
  PanelKind kind;
  std::optional<int> KeySetFields::*item;
};
constexpr TableKind kTableKinds[] = {
    {PanelKind::kMouseButton, &KeySetFields::mouse_button_item},
    {PanelKind::kDpi, &KeySetFields::dpi_item},
    {PanelKind::kMedia, &KeySetFields::media_item},
    {PanelKind::kSystem, &KeySetFields::system_item},
    {PanelKind::kGunKey, &KeySetFields::gun_item},
    {PanelKind::kCombination, &KeySetFields::combination_item},
};

TEST(AssignmentCodecTest, EveryRowOfEveryListRoundTrips) {
  for (const TableKind& table_kind : kTableKinds) {
    const auto table = FunctionTableOf(table_kind.kind);
    for (size_t i = 0; i < table.size(); ++i) {
      SCOPED_TRACE(table[i].name);
      KeySetFields before;
      before.*table_kind.item = std::nullopt;
      const Shown shown = Show(table[i].code, 0, before);
      EXPECT_EQ(shown.decoded.kind, table_kind.kind);
      EXPECT_EQ(shown.decoded.corrected_code, std::nullopt);
      EXPECT_EQ(shown.fields.*table_kind.item, static_cast<int>(i));

      const EncodedAssignment saved = ShowAndSave(table[i].code);
      EXPECT_EQ(saved.source, Source::kEncoded);
      EXPECT_EQ(saved.code, table[i].code);
    }
  }
}

TEST(AssignmentCodecTest, ListCodesWithoutARowShowNoSelectionAndKeepTheCode) {
  const FunctionCode codes[] = {
      {0x10, 0x20, 0x00}, {0x10, 0x01, 0x01}, {0x13, 0x04, 0x00}, {0x30, 0x00, 0x00},
      {0x30, 0xCD, 0x01}, {0x40, 0x08, 0x00}, {0x72, 0x04, 0x00}, {0x72, 0xFF, 0x00},
      {0x20, 0x10, 0x05}, {0x20, 0x10, 0x00}, {0xB0, 0x01, 0x02},
  };
  for (const FunctionCode code : codes) {
    SCOPED_TRACE(CodeText(code));
    const Shown shown = Show(code);
    ASSERT_TRUE(shown.decoded.kind.has_value());
    const TableKind* table_kind = nullptr;
    for (const TableKind& candidate : kTableKinds) {
      if (candidate.kind == *shown.decoded.kind) table_kind = &candidate;
    }
    ASSERT_NE(table_kind, nullptr);
    EXPECT_EQ(shown.fields.*table_kind->item, std::nullopt);
    // Saving without a selection leaves the key as it was.
    const EncodedAssignment saved = ShowAndSave(code);
    EXPECT_EQ(saved.source, Source::kKept);
    EXPECT_EQ(saved.code, code);
  }
}

TEST(AssignmentCodecTest, ScrollCodesRoundTripForEveryParameter) {
  for (const uint8_t type : {kFnHorizontalScroll, kFnVerticalScroll}) {
    for (int second = 0; second < 256; ++second) {
      for (int third = 0; third < 256; ++third) {
        const FunctionCode code{type, static_cast<uint8_t>(second), static_cast<uint8_t>(third)};
        const EncodedAssignment saved = ShowAndSave(code);
        ASSERT_EQ(saved.source, Source::kEncoded) << CodeText(code);
        ASSERT_EQ(saved.code, code);
      }
    }
  }
}

TEST(AssignmentCodecTest, ScrollFields) {
  struct Case {
    FunctionCode code;
    PanelKind kind;
    ScrollFields scroll;
  };
  const Case cases[] = {
      {{0x12, 0x47, 0x9B}, PanelKind::kVerticalScroll, {1, 101, 4, 7}},   // down 101
      {{0x12, 0x47, 0x1B}, PanelKind::kVerticalScroll, {0, 27, 4, 7}},    // up 27
      {{0x12, 0x00, 0xFF}, PanelKind::kVerticalScroll, {1, 1, 0, 0}},     // down 1 is -1
      {{0x12, 0xF0, 0x80}, PanelKind::kVerticalScroll, {1, 128, 15, 0}},  // down 128 is -128
      {{0x11, 0x23, 0x85}, PanelKind::kHorizontalScroll, {1, 5, 2, 3}},   // right 5
      {{0x11, 0x0F, 0x7F}, PanelKind::kHorizontalScroll, {0, 127, 0, 15}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(CodeText(c.code));
    const Shown shown = Show(c.code);
    EXPECT_EQ(shown.decoded.kind, c.kind);
    const ScrollFields& scroll = c.kind == PanelKind::kVerticalScroll
                                     ? shown.fields.vertical_scroll
                                     : shown.fields.horizontal_scroll;
    EXPECT_EQ(scroll, c.scroll);
  }
}

TEST(AssignmentCodecTest, ScrollEncodingUsesTheLowBitsOfTheEdits) {
  KeySetFields fields;
  fields.vertical_scroll = {1, 101, 4, 7};
  EXPECT_EQ(EncodeAssignment(3, fields, {}, kFactory, 0).code, (FunctionCode{0x12, 0x47, 0x9B}));
  // Delay and speed keep four bits each, the count seven.
  fields.horizontal_scroll = {0, 0x85, 0x12, 0x3F};
  EXPECT_EQ(EncodeAssignment(2, fields, {}, kFactory, 0).code, (FunctionCode{0x11, 0x2F, 0x05}));
  fields.horizontal_scroll.direction = 1;
  EXPECT_EQ(EncodeAssignment(2, fields, {}, kFactory, 0).code, (FunctionCode{0x11, 0x2F, 0x85}));
}

TEST(AssignmentCodecTest, ScrollWithoutADirectionKeepsTheCode) {
  const KeySetFields fields;  // the direction combos start with nothing selected
  const FunctionCode stored{0x13, 0x01, 0x00};
  for (const int kind : {2, 3}) {
    const EncodedAssignment saved = EncodeAssignment(kind, fields, stored, kFactory, 0);
    EXPECT_EQ(saved.source, Source::kKept);
    EXPECT_EQ(saved.code, stored);
  }
}

TEST(AssignmentCodecTest, FireCodes) {
  const Shown shown = Show({0x14, 0x32, 0x03});
  EXPECT_EQ(shown.decoded.kind, PanelKind::kFire);
  EXPECT_EQ(shown.fields.fire_interval, 50);
  EXPECT_EQ(shown.fields.fire_count, 3);
  for (int interval = kMinFireInterval; interval < 256; ++interval) {
    for (const int count : {0, 1, 2, 255}) {
      const FunctionCode code{kFnFire, static_cast<uint8_t>(interval), static_cast<uint8_t>(count)};
      EXPECT_EQ(ShowAndSave(code).code, code);
    }
  }
}

TEST(AssignmentCodecTest, FireIntervalIsKeptWithinTheDevicesRange) {
  struct Case {
    int typed;
    uint8_t stored;
    std::optional<int> shown;
  };
  const Case cases[] = {
      {5, 10, 10},
      {0, 10, 10},
      {-3, 10, 10},
      {10, 10, std::nullopt},
      {255, 255, std::nullopt},
      // A byte would wrap these to 0 or 4: below the device's minimum.
      {256, 255, 255},
      {260, 255, 255},
      {100000, 255, 255},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    KeySetFields fields;
    fields.fire_interval = c.typed;
    fields.fire_count = 258;  // the count keeps its low byte
    const EncodedAssignment saved = EncodeAssignment(5, fields, {}, kFactory, 0);
    EXPECT_EQ(saved.source, Source::kEncoded);
    EXPECT_EQ(saved.code, (FunctionCode{kFnFire, c.stored, 2}));
    EXPECT_EQ(saved.fire_interval_shown, c.shown);
  }
}

TEST(AssignmentCodecTest, EveryKeyWithEveryModifierOptionRoundTrips) {
  for (int row = kModifierRowCount; row < kFirstMediaKeyRow; ++row) {
    const uint8_t usage = kKeyNameTable[row].code.third;
    for (int option = 0; option <= 4; ++option) {
      const uint8_t bits = ModifierBitsOfOption(option);
      const FunctionCode code{kFnKeyboardKey, bits, usage};
      SCOPED_TRACE(CodeText(code));
      const Shown shown = Show(code);
      EXPECT_EQ(shown.decoded.kind, PanelKind::kKeyboardKey);
      EXPECT_EQ(shown.fields.modifier_option, option);
      EXPECT_EQ(shown.fields.key_name, kKeyNameTable[row].name);
      EXPECT_EQ(ShowAndSave(code).code, code);
    }
  }
}

TEST(AssignmentCodecTest, KeyboardKeyCodes) {
  struct Case {
    FunctionCode code;
    std::optional<int> option;
    std::string_view key_name;
    std::optional<FunctionCode> corrected;
    FunctionCode saved;
  };
  const Case cases[] = {
      // Right Shift shows as the Shift option and is saved as left Shift.
      {{0x20, 0x20, 0x04}, 2, "keyboard_key_A", std::nullopt, {0x20, 0x02, 0x04}},
      {{0x20, 0x80, 0x2C}, 4, "keyboard_key_Space", std::nullopt, {0x20, 0x08, 0x2C}},
      // A modifier alone: no key text.
      {{0x20, 0x02, 0x00}, 2, "", std::nullopt, {0x20, 0x02, 0x00}},
      // A usage without a key of ours is dropped from the stored code.
      {{0x20, 0x00, 0x70}, std::nullopt, "", FunctionCode{0x20, 0x00, 0x00}, {0x20, 0x00, 0x00}},
      {{0x20, 0x00, 0x00}, std::nullopt, "", FunctionCode{0x20, 0x00, 0x00}, {0x20, 0x00, 0x00}},
      // Several modifiers cannot be shown with one option: they are dropped, the key stays.
      {{0x20, 0x03, 0x04}, 0, "keyboard_key_A", FunctionCode{0x20, 0x00, 0x04}, {0x20, 0x00, 0x04}},
      {{0x20, 0x81, 0x04}, 0, "keyboard_key_A", FunctionCode{0x20, 0x00, 0x04}, {0x20, 0x00, 0x04}},
      {{0x20, 0xFF, 0x00}, 0, "", FunctionCode{0x20, 0x00, 0x00}, {0x20, 0x00, 0x00}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(CodeText(c.code));
    KeySetFields before;
    before.key_name = "keyboard_key_Z";  // left over from the previous key
    before.modifier_option = 3;
    const Shown shown = Show(c.code, 0, before);
    EXPECT_EQ(shown.decoded.kind, PanelKind::kKeyboardKey);
    EXPECT_EQ(shown.fields.modifier_option, c.option);
    EXPECT_EQ(shown.fields.key_name, c.key_name);
    EXPECT_EQ(shown.decoded.corrected_code, c.corrected);
    EXPECT_EQ(ShowAndSave(c.code).code, c.saved);
  }
}

TEST(AssignmentCodecTest, KeyboardKeyEncodingTakesTheStoredUsage) {
  KeySetFields fields;
  fields.modifier_option = 2;
  fields.key_name = "keyboard_key_A";
  const FunctionCode stored{0x20, 0x00, 0x04};
  EXPECT_EQ(EncodeAssignment(6, fields, stored, kFactory, 0).code,
            (FunctionCode{0x20, 0x02, 0x04}));
  // An emptied key edit gives the modifier alone.
  fields.key_name = {};
  EXPECT_EQ(EncodeAssignment(6, fields, stored, kFactory, 0).code,
            (FunctionCode{0x20, 0x02, 0x00}));
  // No option checked: no modifier.
  fields.modifier_option.reset();
  fields.key_name = "keyboard_key_A";
  EXPECT_EQ(EncodeAssignment(6, fields, stored, kFactory, 0).code,
            (FunctionCode{0x20, 0x00, 0x04}));
}

TEST(AssignmentCodecTest, Combination) {
  const Shown shown = Show({0x20, 0x10, 0x16});
  EXPECT_EQ(shown.decoded.kind, PanelKind::kCombination);
  ASSERT_TRUE(shown.fields.combination_item.has_value());
  EXPECT_EQ(kCombinationFunctions[*shown.fields.combination_item].name, "custem_save");
}

TEST(AssignmentCodecTest, MacroCalls) {
  struct Case {
    FunctionCode code;
    int macro_count;
    std::optional<int> macro;
    std::optional<int> mode;
    bool count_visible;
    int repeat_count;
  };
  const Case cases[] = {
      {{0x70, 0x02, 0x01}, 3, 2, 1, false, 1},
      {{0x70, 0x02, 0x01}, 1, std::nullopt, std::nullopt, false, 1},
      // Positions run from 0: a macro number equal to the number of macros names none.
      {{0x70, 0x03, 0x00}, 3, std::nullopt, std::nullopt, false, 1},
      {{0x70, 0x00, 0x03}, 1, 0, 3, false, 1},
      // Repeat modes of a plain call are 0-3.
      {{0x70, 0x00, 0x04}, 1, 0, std::nullopt, false, 1},
      {{0x71, 0x00, 0x05}, 1, 0, 4, true, 5},
      {{0x71, 0x05, 0x09}, 3, std::nullopt, 4, false, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(CodeText(c.code) + " with " + std::to_string(c.macro_count));
    KeySetFields before;
    before.repeat_count_visible = true;
    const Shown shown = Show(c.code, c.macro_count, before);
    EXPECT_EQ(shown.decoded.kind, PanelKind::kMacro);
    EXPECT_EQ(shown.fields.macro_item, c.macro);
    EXPECT_EQ(shown.fields.repeat_mode_item, c.mode);
    EXPECT_EQ(shown.fields.repeat_count_visible, c.count_visible);
    EXPECT_EQ(shown.fields.repeat_count, c.repeat_count);
    // A call the panel cannot show completely is kept as it is.
    const EncodedAssignment saved = ShowAndSave(c.code, c.macro_count);
    if (c.macro && c.mode) {
      EXPECT_EQ(saved.source, Source::kEncoded);
    } else {
      EXPECT_EQ(saved.source, Source::kKept);
    }
    EXPECT_EQ(saved.code, c.code);
  }
}

TEST(AssignmentCodecTest, EveryMacroCallRoundTrips) {
  constexpr int kMacros = 50;
  for (int macro = 0; macro < kMacros; ++macro) {
    for (int mode = 0; mode < 4; ++mode) {
      const FunctionCode code{kFnMacro, static_cast<uint8_t>(macro), static_cast<uint8_t>(mode)};
      EXPECT_EQ(ShowAndSave(code, kMacros).code, code);
    }
    for (int count = 0; count < 256; ++count) {
      const FunctionCode code{kFnMacroCount, static_cast<uint8_t>(macro),
                              static_cast<uint8_t>(count)};
      EXPECT_EQ(ShowAndSave(code, kMacros).code, code);
    }
  }
}

TEST(AssignmentCodecTest, MacroSelectionEncoding) {
  const FunctionCode stored{0x10, 0x04, 0x00};
  KeySetFields fields;
  fields.macro_item = 1;
  fields.repeat_mode_item = 4;
  fields.repeat_count = 300;  // the low byte
  EXPECT_EQ(EncodeAssignment(9, fields, stored, kFactory, 2).code,
            (FunctionCode{0x71, 0x01, 0x2C}));
  fields.repeat_mode_item = 2;
  EXPECT_EQ(EncodeAssignment(9, fields, stored, kFactory, 2).code,
            (FunctionCode{0x70, 0x01, 0x02}));
  // Without a usable selection the key keeps its function.
  for (const std::optional<int> macro : {std::optional<int>{}, std::optional<int>{2}}) {
    fields.macro_item = macro;
    const EncodedAssignment saved = EncodeAssignment(9, fields, stored, kFactory, 2);
    EXPECT_EQ(saved.source, Source::kKept);
    EXPECT_EQ(saved.code, stored);
  }
  fields.macro_item = 0;
  fields.repeat_mode_item.reset();
  EXPECT_EQ(EncodeAssignment(9, fields, stored, kFactory, 2).source, Source::kKept);
}

TEST(AssignmentCodecTest, DefaultFunction) {
  // A key that carries its factory assignment shows as "default", whatever its code; the
  // controls of the code's kind are still filled.
  KeySetFields fields;
  fields.dpi_item.reset();
  const DecodedAssignment decoded = DecodeAssignment({0x13, 0x03, 0x00}, true, 0, fields);
  EXPECT_EQ(decoded.kind, PanelKind::kDefault);
  EXPECT_EQ(fields.dpi_item, 2);

  KeySetFields other;
  EXPECT_EQ(DecodeAssignment({0xA0, 0x01, 0x00}, true, 0, other).kind, PanelKind::kDefault);
  EXPECT_EQ(DecodeAssignment({0x00, 0x00, 0x00}, false, 0, other).kind, PanelKind::kDefault);

  // Saving "default" (or an item without a kind) takes the factory assignment.
  for (const int tag : {0, -1, 12, 99}) {
    const EncodedAssignment saved =
        EncodeAssignment(tag, KeySetFields{}, {0x10, 0x02, 0x00}, kFactory, 0);
    EXPECT_EQ(saved.source, Source::kDefault) << tag;
    EXPECT_EQ(saved.code, kFactory);
  }
}

TEST(AssignmentCodecTest, FactoryOnlyCodesHaveNoKind) {
  const FunctionCode codes[] = {
      {0x15, 0x03, 0x00}, {0x16, 0x90, 0x01}, {0x23, 0x00, 0x00}, {0xA0, 0x02, 0x00},
      {0xA0, 0x1B, 0x00}, {0xD0, 0xA2, 0x01}, {0x99, 0x00, 0x00}, {0xFF, 0xFF, 0xFF},
  };
  for (const FunctionCode code : codes) {
    const KeySetFields before;
    const Shown shown = Show(code, 0, before);
    EXPECT_EQ(shown.decoded.kind, std::nullopt) << CodeText(code);
    EXPECT_EQ(shown.fields, before) << CodeText(code);
  }
}

TEST(AssignmentCodecTest, ShowingFillsOnlyTheControlsOfTheCodesKind) {
  KeySetFields before;
  before.mouse_button_item = 3;
  before.fire_interval = 77;
  before.macro_item = 1;
  const Shown shown = Show({0x13, 0x02, 0x00}, 2, before);
  KeySetFields expected = before;
  expected.dpi_item = 1;
  EXPECT_EQ(shown.fields, expected);
}

}  // namespace
}  // namespace vorlin
