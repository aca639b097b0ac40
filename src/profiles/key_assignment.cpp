#include "profiles/key_assignment.h"

namespace vorlin {

uint32_t KeyAssignment::PackedCode() const {
  return static_cast<uint32_t>(code[0]) << 16 | static_cast<uint32_t>(code[1]) << 8 | code[2];
}

void KeyAssignment::SetPackedCode(uint32_t packed) {
  code = {static_cast<uint8_t>(packed >> 16), static_cast<uint8_t>(packed >> 8),
          static_cast<uint8_t>(packed)};
}

}  // namespace vorlin
