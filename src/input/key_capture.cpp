#include "input/key_capture.h"

#include "input/key_name_table.h"

namespace vorlin {

std::optional<CapturedKey> CaptureKey(ScanCode scan, std::optional<int> checked_option) {
  const auto row = FindKeyboardKeyRow(scan);
  if (!row) return std::nullopt;
  const KeyNameRow& key = kKeyNameTable[static_cast<size_t>(*row)];
  CapturedKey captured{*row, checked_option, {}, key.code};
  if (*row < kModifierRowCount) {
    captured.modifier_option = ModifierOptionOfRow(*row);
    return captured;
  }
  if (!checked_option) {
    captured.modifier_option = 0;
  } else {
    captured.code.second = ModifierBitsOfOption(checked_option);
  }
  captured.key_name = key.name;
  return captured;
}

}  // namespace vorlin
