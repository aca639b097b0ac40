#include "devices/mouse_key_tables.h"

#include <algorithm>

namespace vorlin {

namespace {

constexpr uint8_t kMacroCall = 0x70;
constexpr uint8_t kMacroCallRepeat = 0x71;

int UsableSlots(std::span<const uint8_t> table, int key_count) {
  const int held = static_cast<int>(std::min<size_t>(table.size() / kKeyCodeBytes, kKeyTableSlots));
  return std::clamp(key_count, 0, held);
}

}  // namespace

ButtonSlotMap BuildButtonSlotMap(std::span<const uint8_t> default_table, int key_count) {
  ButtonSlotMap map;
  const int slots = UsableSlots(default_table, key_count);
  for (int i = 0; i < slots; ++i) map[i] = kNoSlot;
  for (size_t j = 0; j < kDefaultButtonCodeTable.size(); ++j) {
    const auto& code = kDefaultButtonCodeTable[j].code;
    for (int k = 0; k < slots; ++k) {
      const auto at = default_table.begin() + static_cast<std::ptrdiff_t>(k * kKeyCodeBytes);
      if (std::equal(code.begin(), code.end(), at)) {
        map[static_cast<int>(j)] = k;
        break;
      }
    }
  }
  return map;
}

bool IsMacroCall(const KeyAssignment& assignment) {
  return assignment.code[0] == kMacroCall || assignment.code[0] == kMacroCallRepeat;
}

std::vector<int> ListUsedMacros(const ButtonSlotMap& slots,
                                const std::vector<KeyAssignmentPair>& keys, int macro_count) {
  std::vector<int> used;
  for (const auto& [button, slot] : slots) {
    if (slot == kNoSlot || button < 0 || static_cast<size_t>(button) >= keys.size()) continue;
    const KeyAssignment& current = keys[static_cast<size_t>(button)].current;
    if (!IsMacroCall(current)) continue;
    const int number = current.code[1];
    if (number >= macro_count) continue;
    if (std::find(used.begin(), used.end(), number) == used.end()) used.push_back(number);
  }
  return used;
}

std::vector<uint8_t> BuildKeyTable(std::span<const uint8_t> default_table, int key_count,
                                   const ButtonSlotMap& slots,
                                   const std::vector<KeyAssignmentPair>& keys, int macro_count) {
  if (key_count < 0 || static_cast<size_t>(key_count) * kKeyCodeBytes > default_table.size())
    return {};
  std::vector<uint8_t> table(default_table.begin(),
                             default_table.begin() + static_cast<std::ptrdiff_t>(key_count * kKeyCodeBytes));
  std::vector<int> used;
  for (const auto& [button, slot] : slots) {
    if (slot == kNoSlot || slot < 0 || slot >= key_count) continue;
    if (button < 0 || static_cast<size_t>(button) >= keys.size()) continue;
    KeyAssignmentPair entry = keys[static_cast<size_t>(button)];
    if (IsMacroCall(entry.current)) {
      const int number = entry.current.code[1];
      if (number < macro_count) {
        auto found = std::find(used.begin(), used.end(), number);
        if (found == used.end()) found = used.insert(used.end(), number);
        entry.current.code[1] = static_cast<uint8_t>(found - used.begin());
      } else {
        entry.current = entry.factory;
      }
    }
    std::copy(entry.current.code.begin(), entry.current.code.end(),
              table.begin() + static_cast<std::ptrdiff_t>(slot * kKeyCodeBytes));
  }
  return table;
}

bool DropMissingMacroCalls(std::vector<KeyAssignmentPair>& keys, int macro_count) {
  bool changed = false;
  for (KeyAssignmentPair& entry : keys) {
    if (IsMacroCall(entry.current) && entry.current.code[1] >= macro_count) {
      entry.current = entry.factory;
      changed = true;
    }
  }
  return changed;
}

}  // namespace vorlin
