#pragma once

// What the key-assignment panel needs from the device page it serves. The page owns the device,
// its key list and its profile; the panel and its editing flow only show and change the selected
// key's entry through this interface, so the flow can be driven by a stand-in in tests.

#include <optional>
#include <vector>

#include <QString>

#include "profiles/key_assignment.h"

namespace vorlin {

inline constexpr int kKeySetKeyboard = 1;
inline constexpr int kKeySetMouse = 2;

class KeyAssignmentHost {
 public:
  virtual ~KeyAssignmentHost() = default;

  // kKeySetKeyboard or kKeySetMouse.
  virtual int DeviceKind() const = 0;
  // The device's key list, one pair (current and factory function) per key or button.
  virtual std::vector<KeyAssignmentPair> KeyList() const = 0;
  // The key being edited; -1 when none is selected.
  virtual int SelectedKey() const = 0;
  // Makes key `index` the selected one (the page marks its button).
  virtual void MarkKey(int index) = 0;
  // Stores `pair` as the selected key's entry of the key list and saves it into the profile at
  // once.
  virtual void SetSelectedKeyEntry(const KeyAssignmentPair& pair) = 0;
  // Shows the key list again (names of the functions on the page's key list and tooltips).
  virtual void RefreshKeyList() = 0;
  // Whether the current profile's document can be read; keys are not edited without it.
  virtual bool ProfileReadable() const = 0;

  // The macros the key list calls, in the order the device's macro image follows.
  virtual std::vector<int> ListUsedMacros() const = 0;
  // Writes those macros: 0 written (or nothing to write), -1 not written, k > 0 the image is k
  // events too large for the device's macro memory (nothing written).
  virtual int DownloadMacros(const std::vector<int>& macros) = 0;
  // Writes the key list into the device's key table; false when it could not be written.
  virtual bool StoreKeyAssignments() = 0;
  virtual void SaveProfile() = 0;
  // The key buttons mark the keys whose function differs from the factory one.
  virtual void ShowChangedKeys() = 0;

  // A message box with the text of `text_key`; a text with "%d" takes `argument` (see
  // KeySetMessageText).
  virtual void ShowMessage(const QString& text_key, std::optional<int> argument) = 0;
};

}  // namespace vorlin
