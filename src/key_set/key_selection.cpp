#include "key_set/key_selection.h"

#include <algorithm>

#include "input/function_code.h"
#include "devices/device_capabilities.h"

namespace vorlin {
namespace {

constexpr FunctionCode kLeftButton{kFnMouseButton, 0x01, 0x00};

bool IsLeftButton(const KeyAssignmentPair& pair) {
  return FunctionCode::FromBytes(pair.current.code) == kLeftButton;
}

}  // namespace

KeySelection CheckKeySelection(int device_kind, const std::vector<KeyAssignmentPair>& keys,
                               int index, bool profile_readable) {
  if (index < 0 || static_cast<size_t>(index) >= keys.size()) return KeySelection::kNoSuchKey;
  if (!profile_readable) return KeySelection::kProfileUnreadable;
  if (device_kind == kKeySetMouse && IsLeftButton(keys[static_cast<size_t>(index)]) &&
      std::count_if(keys.begin(), keys.end(), IsLeftButton) == 1) {
    return KeySelection::kOnlyLeftButton;
  }
  return KeySelection::kSelect;
}

}  // namespace vorlin
