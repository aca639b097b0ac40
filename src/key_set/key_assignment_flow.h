#pragma once

// The editing flow of the key-assignment panel: what selecting a key, the panel's buttons and a
// captured key do to the device of the page (its KeyAssignmentControl), to the picture of the
// page (a KeyPicture) and what the user is told (PageServices).
//
//   select key n   the key is shown in the panel (refused for the mouse's only left button)
//   save           the controls' function becomes the selected key's entry, stored into the
//                  profile at once; the key list is refreshed; changes wait to be applied
//   cancel         the panel shows the key's current function again; nothing waits any more
//   default        the panel shows the factory function; the keyboard saves and applies it at
//                  once, the mouse waits for the user's save and apply
//   apply          the macros the keys call and the key table go to the device; when it reports
//                  (ApplyFinished) the key buttons show which keys differ from the factory and
//                  the user is told what could not be written
//   captured key   taken by the keyboard-key kind, then saved
//
// The flow binds the panel's buttons when it is made. The device page hands every notification
// of its controls to HandleNotification, which answers only for the panel's own controls.

#include "input/keyboard_key_table.h"
#include "key_set/key_selection.h"
#include "ui/control_bindings.h"
#include "ui/notification.h"

namespace vorlin {

class CKeySetControlUI;
class KeyAssignmentControl;
class PageServices;
struct DeviceReport;

// What the flow needs of the page's picture of the device.
class KeyPicture {
 public:
  virtual ~KeyPicture() = default;
  // The key being edited; -1 when none is selected.
  virtual int SelectedKey() const = 0;
  // Makes key `index` the selected one (its button is marked).
  virtual void MarkKey(int index) = 0;
  // The names of the keys' functions on the page (the key list, tooltips).
  virtual void RefreshKeyList() = 0;
  // The key buttons mark the keys whose function differs from the factory one.
  virtual void ShowChangedKeys() = 0;
};

class KeyAssignmentFlow {
 public:
  // All must outlive the flow.
  KeyAssignmentFlow(CKeySetControlUI& panel, KeyAssignmentControl& keys, KeyPicture& picture,
                    PageServices& services);

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
  // "key_butt_prosave": the keys go to the device.
  void Apply();
  // The device's report of Apply. When the macros did not fit (nothing written) or the key table
  // could not be written, the user is told and the changes still wait to be applied; while the
  // device is away they wait without a word here (they are written when it is back).
  void ApplyFinished(const DeviceReport& report);
  // A key event of the input capture while the key edit has the focus: the panel takes it and
  // the assignment is saved. False when the panel did not take it.
  bool ApplyCapturedKey(ScanCode scan);

  // The panel's buttons and the panel's own controls. False for any other notification.
  bool HandleNotification(const Notification& notification);

 private:
  CKeySetControlUI& panel_;
  KeyAssignmentControl& keys_;
  KeyPicture& picture_;
  PageServices& services_;
  ControlBindings bindings_;
};

}  // namespace vorlin
