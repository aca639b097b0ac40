#include "input/assignment_encode.h"

#include <algorithm>
#include <span>

#include "input/function_tables.h"
#include "input/key_name_table.h"
#include "input/panel_kind.h"

namespace vorlin {
namespace {

using Source = EncodedAssignment::Source;

// Edits are read as whole numbers; the device takes one byte of each.
uint8_t LowByte(int value) {
  return static_cast<uint8_t>(value);
}

std::optional<FunctionCode> TableCode(std::span<const FunctionRow> table, std::optional<int> item) {
  if (!item || *item < 0 || static_cast<size_t>(*item) >= table.size()) return std::nullopt;
  return table[static_cast<size_t>(*item)].code;
}

uint8_t ScrollSpeedByte(const ScrollFields& scroll) {
  return static_cast<uint8_t>((scroll.delay & 0x0F) << 4 | (scroll.speed & 0x0F));
}

std::optional<FunctionCode> HorizontalScrollCode(const ScrollFields& scroll) {
  if (!scroll.direction) return std::nullopt;
  const uint8_t right = *scroll.direction == 1 ? 0x80 : 0x00;
  return FunctionCode{kFnHorizontalScroll, ScrollSpeedByte(scroll),
                      static_cast<uint8_t>((scroll.count & 0x7F) | right)};
}

std::optional<FunctionCode> VerticalScrollCode(const ScrollFields& scroll) {
  if (!scroll.direction) return std::nullopt;
  uint8_t third = 0;
  if (*scroll.direction == 1) {
    // Down: the count negated as a signed byte.
    third = static_cast<uint8_t>((128 - LowByte(scroll.count)) | 0x80);
  } else {
    third = static_cast<uint8_t>(scroll.count & 0x7F);
  }
  return FunctionCode{kFnVerticalScroll, ScrollSpeedByte(scroll), third};
}

std::optional<FunctionCode> MacroCode(const KeySetFields& fields, int macro_count) {
  if (!fields.macro_item || *fields.macro_item < 0 || *fields.macro_item >= macro_count ||
      *fields.macro_item > 0xFF) {
    return std::nullopt;
  }
  const auto macro = static_cast<uint8_t>(*fields.macro_item);
  if (fields.repeat_mode_item == kRepeatModeCountItem) {
    return FunctionCode{kFnMacroCount, macro, LowByte(fields.repeat_count)};
  }
  if (fields.repeat_mode_item && *fields.repeat_mode_item >= 0 &&
      *fields.repeat_mode_item < kRepeatModeCountItem) {
    return FunctionCode{kFnMacro, macro, static_cast<uint8_t>(*fields.repeat_mode_item)};
  }
  return std::nullopt;
}

}  // namespace

EncodedAssignment EncodeAssignment(int kind_tag, const KeySetFields& fields,
                                   FunctionCode stored_current, FunctionCode default_code,
                                   int macro_count) {
  EncodedAssignment result{Source::kDefault, default_code, std::nullopt};
  std::optional<FunctionCode> code;
  switch (static_cast<PanelKind>(kind_tag)) {
    case PanelKind::kMouseButton:
      code = TableCode(kMouseButtonFunctions, fields.mouse_button_item);
      break;
    case PanelKind::kDpi:
      code = TableCode(kDpiFunctions, fields.dpi_item);
      break;
    case PanelKind::kMedia:
      code = TableCode(kMediaFunctions, fields.media_item);
      break;
    case PanelKind::kSystem:
      code = TableCode(kSystemFunctions, fields.system_item);
      break;
    case PanelKind::kCombination:
      code = TableCode(kCombinationFunctions, fields.combination_item);
      break;
    case PanelKind::kGunKey:
      code = TableCode(kGunKeyFunctions, fields.gun_item);
      break;
    case PanelKind::kHorizontalScroll:
      code = HorizontalScrollCode(fields.horizontal_scroll);
      break;
    case PanelKind::kVerticalScroll:
      code = VerticalScrollCode(fields.vertical_scroll);
      break;
    case PanelKind::kFire: {
      // Bring the interval into the byte's range, never below the device's minimum.
      const int interval = std::clamp(fields.fire_interval, kMinFireInterval, kMaxFireInterval);
      if (interval != fields.fire_interval) result.fire_interval_shown = interval;
      code = FunctionCode{kFnFire, static_cast<uint8_t>(interval), LowByte(fields.fire_count)};
      break;
    }
    case PanelKind::kKeyboardKey:
      code = FunctionCode{kFnKeyboardKey, ModifierBitsOfOption(fields.modifier_option),
                          fields.key_name.empty() ? uint8_t{0} : stored_current.third};
      break;
    case PanelKind::kMacro:
      code = MacroCode(fields, macro_count);
      break;
    default:
      // The default function, or an item without a kind.
      return result;
  }
  if (code) {
    result.source = Source::kEncoded;
    result.code = *code;
  } else {
    result.source = Source::kKept;
    result.code = stored_current;
  }
  return result;
}

}  // namespace vorlin
