#pragma once

// The key-assignment panel of the mouse and keyboard pages. It shows the function of the selected
// key or button: a function combo whose items carry their kind as a tag, one tab page per kind
// with that kind's controls, and the editing buttons (default, save, cancel, apply). Showing a
// pair decodes its current function into the controls (assignment_decode.h); reading it back
// encodes the controls of the selected kind (assignment_encode.h). The panel keeps the pair it
// shows; the editing flow (key_assignment_flow.h) stores it into the device's key list.
//
// Its controls come from "XML/CustomControlXML/KeySetControl.xml": either the page's layout puts
// that tree inside the panel, or the panel builds it on first use. The key edit
// "keyset_keyboard_text_edit" shows key names only: keys reach it through the input capture
// (ApplyCapturedKey), never as typed text.

#include <optional>
#include <string_view>

#include <QString>
#include <QStringList>
#include <QWidget>

#include "input/function_code.h"
#include "input/key_set_fields.h"
#include "input/keyboard_key_table.h"
#include "input/panel_kind.h"
#include "profiles/key_assignment.h"
#include "ui/control_bindings.h"
#include "ui/notification.h"

class QAbstractButton;

namespace vorlin {

class CKeySetControlUI : public QWidget {
  Q_OBJECT

 public:
  static constexpr char kLayout[] = "XML/CustomControlXML/KeySetControl.xml";
  // Height of an item of the macro combo at 96 DPI.
  static constexpr int kMacroItemHeight = 30;

  explicit CKeySetControlUI(QWidget* parent = nullptr);
  ~CKeySetControlUI() override;

  // Finds the controls (building the tree first when the page's layout did not); fills the
  // combos of the fixed function lists. Safe to call again. False when a control is missing.
  bool Attach();

  // 1 keyboard, 2 mouse. The keyboard has no DPI and no gun-key function: their items are hidden.
  void SetDeviceKind(int kind);
  int DeviceKind() const { return device_kind_; }

  // The macros the macro kind offers, in order (user names, shown as they are); none selected.
  void SetMacroNames(const QStringList& names);
  int MacroCount() const;

  // Keeps the pair and shows its current function (the default function when both are equal).
  // A keyboard-key code whose key or modifier cannot be shown is corrected in the kept pair.
  void ShowAssignment(const KeyAssignmentPair& pair);
  // Shows the kept factory function (the kept current one stays).
  void ShowDefault();
  // Shows the kept current function again.
  void ShowCurrent();
  // The kept pair with its current function replaced by what the controls describe; the kept
  // pair takes the result. A fire interval brought into range is shown in its edit. While the
  // panel is hidden for a function it cannot edit, the kept pair is returned unchanged.
  KeyAssignmentPair ReadAssignment();
  // The fixed lists back to their first item, the fire edits to "50" and "2", the repeat count to
  // "1" (scroll and key fields keep what they show).
  void ResetFields();
  // Enables or disables "key_butt_keycancel" and "key_butt_prosave": enabled while saved changes
  // wait to be applied. "key_butt_keysave" is always enabled, so that a function chosen after an
  // apply or a cancel can still be saved.
  void EnableEditingButtons(bool enable);
  bool EditingButtonsEnabled() const;

  // A key pressed or released while the key edit has the focus (the capture's scan code and
  // extended flag). The keyboard-key kind takes it: a modifier key checks its modifier option and
  // empties the key text, another key shows its name and keeps the checked modifier. False when
  // the key is not one the panel knows, or the keyboard-key kind is not selected: nothing changes.
  // The editing flow saves after a true result.
  bool ApplyCapturedKey(ScanCode scan);
  // Whether the key edit has the focus (from its "setfocus"/"killfocus" notifications), that is,
  // whether key capture should run.
  bool KeyCaptureWanted() const { return key_capture_wanted_; }

  // The panel's own reactions to its controls: choosing a function kind shows its page (the
  // keyboard-key kind starts empty), choosing a repeat mode shows the repeat count only for
  // "a given number of times", and the key edit's focus starts and stops key capture. False for
  // any other notification.
  bool HandleNotification(const Notification& notification);

  // What the panel shows.
  const KeyAssignmentPair& Pair() const { return pair_; }
  // The tag of the selected function item; none when no item is selected.
  std::optional<int> SelectedKind() const;
  KeySetFields Fields() const;
  // Whether the function item of `kind` can be chosen (it is not hidden).
  bool KindOffered(int kind) const;

  // A control of the panel's tree by name (builds the tree on first use).
  QWidget* Control(const QString& name) const;
  template <typename T>
  T* Control(const char* name) const {
    return qobject_cast<T*>(Control(QString::fromLatin1(name)));
  }

 signals:
  // The key edit gained (true) or lost (false) the focus: start or stop key capture.
  void keyCaptureWanted(bool on);

 private:
  void EnsureBuilt() const;
  // Binds the panel's own reactions to its controls (once the tree is built).
  void BindControls();
  void OnFunctionChosen();
  void OnRepeatModeChosen();
  void OnKeyEditFocus(bool focus_in);
  void FillFixedLists();
  void ShowCode(FunctionCode code, bool same_as_default, bool correct_kept);
  void ShowFields(const KeySetFields& fields);
  void ShowKind(std::optional<PanelKind> kind);
  void ShowKeyName(std::string_view key);
  void ShowModifierOption(std::optional<int> option);
  int FunctionItemOfKind(int kind) const;
  QAbstractButton* ModifierOptionButton(int option) const;

  mutable bool built_ = false;
  ControlBindings bindings_;
  int device_kind_ = 2;
  KeyAssignmentPair pair_;
  std::string_view key_name_;  // a text key of the key-name table, or empty
  bool key_capture_wanted_ = false;
  bool editable_ = true;  // false while a function without a kind is shown (the panel is hidden)
};

// Makes the layouts' tags "KeySetControl"/"CKeySetControlUI" create the panel. Safe to call again.
void RegisterKeySetControls();

}  // namespace vorlin
