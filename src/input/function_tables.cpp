#include "input/function_tables.h"

namespace vorlin {

std::span<const FunctionRow> FunctionTableOf(PanelKind kind) {
  switch (kind) {
    case PanelKind::kMouseButton:
      return kMouseButtonFunctions;
    case PanelKind::kDpi:
      return kDpiFunctions;
    case PanelKind::kMedia:
      return kMediaFunctions;
    case PanelKind::kSystem:
      return kSystemFunctions;
    case PanelKind::kGunKey:
      return kGunKeyFunctions;
    case PanelKind::kCombination:
      return kCombinationFunctions;
    default:
      return {};
  }
}

std::optional<int> FindFunctionRow(std::span<const FunctionRow> table, FunctionCode code) {
  for (size_t i = 0; i < table.size(); ++i) {
    if (table[i].code == code) return static_cast<int>(i);
  }
  return std::nullopt;
}

}  // namespace vorlin
