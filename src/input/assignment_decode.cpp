#include "input/assignment_decode.h"

#include "input/function_tables.h"
#include "input/key_name_table.h"

namespace vorlin {
namespace {

inline constexpr int kRepeatModeLastItem = 3;  // repeat modes 0-3 of a plain macro call

void FillScroll(FunctionCode code, bool negated_down, ScrollFields& scroll) {
  scroll.delay = code.second >> 4;
  scroll.speed = code.second & 0x0F;
  const bool second_direction = (code.third & 0x80) != 0;
  scroll.direction = second_direction ? 1 : 0;
  if (second_direction && negated_down) {
    // Scrolling down carries the count negated as a signed byte.
    scroll.count = 128 - (code.third & 0x7F);
  } else {
    scroll.count = code.third & 0x7F;
  }
}

std::optional<int> ItemBelow(int value, int count) {
  if (value < 0 || value >= count) return std::nullopt;
  return value;
}

DecodedAssignment DecodeKeyboardKey(FunctionCode code, KeySetFields& fields) {
  DecodedAssignment result{PanelKind::kKeyboardKey, std::nullopt};
  if (code.second == kModRightCtrl) {
    // Right Ctrl with a key: the built-in shortcuts.
    result.kind = PanelKind::kCombination;
    fields.combination_item = FindFunctionRow(kCombinationFunctions, code);
    return result;
  }
  const auto key_row = FindKeyRowByUsage(code.third);
  if (code.second == 0) {
    if (key_row) {
      fields.modifier_option = 0;
      fields.key_name = kKeyNameTable[*key_row].name;
    } else {
      fields.modifier_option.reset();
      fields.key_name = {};
      result.corrected_code = FunctionCode{kFnKeyboardKey, 0, 0};
    }
    return result;
  }
  // One modifier, left or right, with a key (or alone). Several modifiers at once cannot be shown
  // with the single modifier option: they are dropped.
  if (const auto modifier_row = FindModifierRow(code.second)) {
    fields.modifier_option = ModifierOptionOfRow(*modifier_row);
  } else {
    fields.modifier_option = 0;
    result.corrected_code = FunctionCode{code.type, 0, code.third};
  }
  fields.key_name = key_row ? kKeyNameTable[*key_row].name : std::string_view{};
  return result;
}

DecodedAssignment DecodeMacro(FunctionCode code, int macro_count, KeySetFields& fields) {
  const auto macro = ItemBelow(code.second, macro_count);
  fields.macro_item = macro;
  if (code.type == kFnMacroCount) {
    fields.repeat_mode_item = kRepeatModeCountItem;
    fields.repeat_count_visible = macro.has_value();
    fields.repeat_count = code.third;
  } else {
    fields.repeat_mode_item =
        macro ? ItemBelow(code.third, kRepeatModeLastItem + 1) : std::optional<int>{};
    fields.repeat_count_visible = false;
  }
  return {PanelKind::kMacro, std::nullopt};
}

DecodedAssignment DecodeByType(FunctionCode code, int macro_count, KeySetFields& fields) {
  switch (code.type) {
    case kFnNone:
      return {PanelKind::kDefault, std::nullopt};
    case kFnMouseButton:
      fields.mouse_button_item = FindFunctionRow(kMouseButtonFunctions, code);
      return {PanelKind::kMouseButton, std::nullopt};
    case kFnHorizontalScroll:
      FillScroll(code, false, fields.horizontal_scroll);
      return {PanelKind::kHorizontalScroll, std::nullopt};
    case kFnVerticalScroll:
      FillScroll(code, true, fields.vertical_scroll);
      return {PanelKind::kVerticalScroll, std::nullopt};
    case kFnDpi:
      fields.dpi_item = FindFunctionRow(kDpiFunctions, code);
      return {PanelKind::kDpi, std::nullopt};
    case kFnFire:
      fields.fire_interval = code.second;
      fields.fire_count = code.third;
      return {PanelKind::kFire, std::nullopt};
    case kFnKeyboardKey:
      return DecodeKeyboardKey(code, fields);
    case kFnConsumer:
      fields.media_item = FindFunctionRow(kMediaFunctions, code);
      return {PanelKind::kMedia, std::nullopt};
    case kFnSystem:
      fields.system_item = FindFunctionRow(kSystemFunctions, code);
      return {PanelKind::kSystem, std::nullopt};
    case kFnMacro:
    case kFnMacroCount:
      return DecodeMacro(code, macro_count, fields);
    case kFnGunKey:
      fields.gun_item = ItemBelow(code.second, static_cast<int>(kGunKeyFunctions.size()));
      return {PanelKind::kGunKey, std::nullopt};
    case kFnCombination:
      fields.combination_item.reset();
      return {PanelKind::kCombination, std::nullopt};
    default:
      return {std::nullopt, std::nullopt};
  }
}

}  // namespace

DecodedAssignment DecodeAssignment(FunctionCode code, bool same_as_default, int macro_count,
                                   KeySetFields& fields) {
  DecodedAssignment result = DecodeByType(code, macro_count, fields);
  if (same_as_default) result.kind = PanelKind::kDefault;
  return result;
}

}  // namespace vorlin
