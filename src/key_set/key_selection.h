#pragma once

// Whether a key or button of the device picture may be selected for editing.

#include <vector>

#include "profiles/key_assignment.h"

namespace vorlin {

enum class KeySelection {
  kSelect,             // select the key and show its function
  kNoSuchKey,          // the index is not in the key list: nothing happens
  kProfileUnreadable,  // the profile's document cannot be read: nothing happens
  kOnlyLeftButton,     // the mouse's only left button: tell the user, nothing else happens
};

// The mouse keeps at least one button with the left-button function, so the only one that has it
// cannot be opened for editing. `device_kind` is 1 (keyboard) or 2 (mouse).
KeySelection CheckKeySelection(int device_kind, const std::vector<KeyAssignmentPair>& keys,
                               int index, bool profile_readable);

}  // namespace vorlin
