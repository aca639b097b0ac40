#pragma once

// The editing flow of the key-assignment panel: what selecting a key, the panel's buttons and a
// captured key do to the device of the page (a KeyAssignmentHost).
//
//   select key n   the key is shown in the panel (refused for the mouse's only left button)
//   save           the controls' function becomes the selected key's entry, stored into the
//                  profile at once; the key list is refreshed; changes wait to be applied
//   cancel         the panel shows the key's current function again; nothing waits any more
//   default        the panel shows the factory function; the keyboard saves and applies it at
//                  once, the mouse waits for the user's save and apply
//   apply          the macros the keys call and the key table are written to the device, the
//                  profile is saved and the key buttons show which keys differ from the factory
//   captured key   taken by the keyboard-key kind, then saved
//
// The device page hands every notification of its controls to HandleNotification, which answers
// only for the panel's own controls.

#include "input/keyboard_key_table.h"
#include "key_set/key_selection.h"
#include "ui/notification.h"

namespace vorlin {

class CKeySetControlUI;
class KeyAssignmentHost;

class KeyAssignmentFlow {
 public:
  // Both must outlive the flow.
  KeyAssignmentFlow(CKeySetControlUI& panel, KeyAssignmentHost& host);

  // Selecting key button `index` on the page: with a readable profile, the key is marked and
  // its pair shown; the mouse's only left button is refused with "message_text_6". Returns what
  // was decided.
  KeySelection SelectKey(int index);

  // "key_butt_keysave". False when no key is selected or the panel does not show the selected
  // key (nothing is stored then).
  bool Save();
  // "key_butt_keycancel".
  void Cancel();
  // "key_butt_keydefalut".
  void RestoreDefault();
  // "key_butt_prosave". False when the macros did not fit (nothing written) or the key table
  // could not be written; changes then still wait to be applied.
  bool Apply();
  // A key event of the input capture while the key edit has the focus: the panel takes it and
  // the assignment is saved. False when the panel did not take it.
  bool ApplyCapturedKey(ScanCode scan);

  // The panel's buttons and the panel's own controls. False for any other notification.
  bool HandleNotification(const Notification& notification);

 private:
  CKeySetControlUI& panel_;
  KeyAssignmentHost& host_;
};

}  // namespace vorlin
