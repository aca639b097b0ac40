#include "input/keyboard_key_table.h"

namespace vorlin {

std::optional<int> FindKeyboardKeyRow(ScanCode scan) {
  for (int row = 0; row < kKeyboardKeyRowCount; ++row) {
    if (kKeyboardScanCodes[row] == scan) return row;
  }
  return std::nullopt;
}

}  // namespace vorlin
