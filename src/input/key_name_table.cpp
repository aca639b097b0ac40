#include "input/key_name_table.h"

namespace vorlin {

std::optional<int> FindKeyNameRow(FunctionCode code) {
  for (size_t i = 0; i < kKeyNameTable.size(); ++i) {
    if (kKeyNameTable[i].code == code) return static_cast<int>(i);
  }
  return std::nullopt;
}

std::optional<int> FindKeyRowByUsage(uint8_t usage) {
  if (usage == 0) return std::nullopt;
  return FindKeyNameRow({kFnKeyboardKey, 0, usage});
}

std::optional<int> FindModifierRow(uint8_t modifier_bits) {
  for (int row = 0; row < kModifierRowCount; ++row) {
    if (kKeyNameTable[row].code.second == modifier_bits) return row;
  }
  return std::nullopt;
}

}  // namespace vorlin
