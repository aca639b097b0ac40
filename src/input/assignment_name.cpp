#include "input/assignment_name.h"

#include <optional>
#include <vector>

#include "input/function_tables.h"
#include "input/key_name_table.h"
#include "input/mouse_button_name_table.h"

namespace vorlin {
namespace {

std::optional<std::string_view> RowName(std::span<const FunctionRow> table, FunctionCode code) {
  const auto row = FindFunctionRow(table, code);
  if (!row) return std::nullopt;
  return table[static_cast<size_t>(*row)].name;
}

std::optional<std::string_view> KeyTableName(FunctionCode code) {
  const auto row = FindKeyNameRow(code);
  if (!row) return std::nullopt;
  return kKeyNameTable[static_cast<size_t>(*row)].name;
}

// The text keys that name a keyboard-key code: its own row, or else each modifier it holds and
// its key, in table order.
std::vector<std::string_view> KeyboardKeyNameParts(FunctionCode code) {
  if (const auto name = KeyTableName(code)) return {*name};
  if (code.second == 0 && code.third == 0) return {kNoFunctionName};
  std::vector<std::string_view> parts;
  for (int row = 0; row < kModifierRowCount; ++row) {
    if (code.second & kKeyNameTable[row].code.second) parts.push_back(kKeyNameTable[row].name);
  }
  if (const auto key_row = FindKeyRowByUsage(code.third)) {
    parts.push_back(kKeyNameTable[static_cast<size_t>(*key_row)].name);
  }
  return parts;
}

// Fn, game mode, smart key and "none": the mouse's own special codes first, then the keyboard's.
std::optional<std::string_view> SpecialKeyName(FunctionCode code) {
  for (const FunctionRow& row : kMouseButtonNameTable) {
    if (row.code.type == code.type && row.code.second == code.second) return row.name;
  }
  return KeyTableName(code);
}

std::optional<std::string_view> FixedName(FunctionCode code) {
  const bool bit7 = (code.third & 0x80) != 0;
  switch (code.type) {
    case kFnMouseButton:
      return RowName(kMouseButtonFunctions, code);
    case kFnHorizontalScroll:
      return bit7 ? "mouse_key_right_Swing" : "mouse_key_left_Swing";
    case kFnVerticalScroll:
      return bit7 ? "mouse_key_down_Swing" : "mouse_key_up_Swing";
    case kFnDpi:
      return RowName(kDpiFunctions, code);
    case kFnFire:
      return "mouse_key_fire_key";
    case kFnReportRate:
      return code.second == 3 ? "mouse_key_report_loop" : kUnknownFunctionName;
    case kFnDpiShift:
      return "mouse_key_DPI_shift";
    case kFnShowWindow:
      return "show_window";
    case kFnConsumer:
      return RowName(kMediaFunctions, code);
    case kFnSystem:
      return RowName(kSystemFunctions, code);
    case kFnGunKey:
      if (code.second >= kGunKeyFunctions.size()) return std::nullopt;
      return kGunKeyFunctions[code.second].name;
    case kFnSpecial:
      return SpecialKeyName(code);
    case kFnKeyboardMacroKey:
      return KeyTableName(code).value_or(kUnknownFunctionName);
    default:
      return kUnknownFunctionName;
  }
}

}  // namespace

std::string AssignmentName(FunctionCode code, std::span<const std::string> macro_names,
                           const TextResolver& resolve) {
  switch (code.type) {
    case kFnNone:
      return resolve(kNoFunctionName);
    case kFnKeyboardKey: {
      std::string name;
      for (const std::string_view part : KeyboardKeyNameParts(code)) {
        if (!name.empty()) name += '+';
        name += resolve(part);
      }
      return name;
    }
    case kFnMacro:
    case kFnMacroCount:
      if (code.second >= macro_names.size()) return {};
      return macro_names[code.second];
    default: {
      const auto name = FixedName(code);
      return name ? resolve(*name) : std::string{};
    }
  }
}

}  // namespace vorlin
