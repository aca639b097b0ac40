#pragma once

#include <array>
#include <cstdint>

namespace vorlin {

// A key's function: the key index and the 3-byte function code (type, first parameter, second
// parameter) as the device tables carry it.
struct KeyAssignment {
  uint16_t key_index = 0;
  std::array<uint8_t, 3> code{};
  uint8_t reserved = 0;
  // The code as the documents store it: type << 16 | first << 8 | second.
  uint32_t PackedCode() const;
  void SetPackedCode(uint32_t packed);
  bool operator==(const KeyAssignment&) const = default;
};
static_assert(sizeof(KeyAssignment) == 6);

// One element of "KeyList": the key's current function and its factory function.
struct KeyAssignmentPair {
  KeyAssignment current;  // "Assignment"
  KeyAssignment factory;  // "DefaultAssignment" (read only)
  bool operator==(const KeyAssignmentPair&) const = default;
};
static_assert(sizeof(KeyAssignmentPair) == 12);

}  // namespace vorlin
