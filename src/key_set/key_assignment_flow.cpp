#include "key_set/key_assignment_flow.h"

#include <QWidget>

#include "devices/device_capabilities.h"
#include "devices/device_view.h"
#include "key_set/key_set_control_ui.h"
#include "key_set/key_set_messages.h"
#include "platform/log.h"
#include "ui/page_services.h"

namespace vorlin {
namespace {

constexpr char kDefaultButton[] = "key_butt_keydefalut";
constexpr char kSaveButton[] = "key_butt_keysave";
constexpr char kCancelButton[] = "key_butt_keycancel";
constexpr char kApplyButton[] = "key_butt_prosave";

constexpr int kMacrosNotWritten = -1;

}  // namespace

KeyAssignmentFlow::KeyAssignmentFlow(CKeySetControlUI& panel, KeyAssignmentControl& keys,
                                     KeyPicture& picture, PageServices& services)
    : panel_(panel), keys_(keys), picture_(picture), services_(services) {
  using N = const Notification&;
  // The panel builds its tree on first use; the buttons lie below it.
  panel_.Control(QString::fromLatin1(kSaveButton));
  bindings_.Bind(&panel_, kSaveButton, notify::kClick, [this](N) { Save(); });
  bindings_.Bind(&panel_, kCancelButton, notify::kClick, [this](N) { Cancel(); });
  bindings_.Bind(&panel_, kDefaultButton, notify::kClick, [this](N) { RestoreDefault(); });
  bindings_.Bind(&panel_, kApplyButton, notify::kClick, [this](N) { Apply(); });
}

KeySelection KeyAssignmentFlow::SelectKey(int index) {
  const std::vector<KeyAssignmentPair> keys = keys_.KeyList();
  const KeySelection selection =
      CheckKeySelection(keys_.DeviceKind(), keys, index, keys_.ProfileReadable());
  switch (selection) {
    case KeySelection::kSelect:
      picture_.MarkKey(index);
      panel_.ShowAssignment(keys[static_cast<size_t>(index)]);
      break;
    case KeySelection::kOnlyLeftButton:
      services_.ShowMessage(QString::fromLatin1(kOnlyLeftButtonMessage), false);
      break;
    case KeySelection::kNoSuchKey:
    case KeySelection::kProfileUnreadable:
      break;
  }
  return selection;
}

bool KeyAssignmentFlow::Save() {
  const std::vector<KeyAssignmentPair> keys = keys_.KeyList();
  const int index = picture_.SelectedKey();
  if (index < 0 || static_cast<size_t>(index) >= keys.size()) return false;
  // The panel must show this key: its factory entry (key index included) names the key, so a
  // pair shown for another key (or none at all) never lands in this key's entry.
  if (panel_.Pair().factory != keys[static_cast<size_t>(index)].factory) {
    qCWarning(lcVorlin) << "key assignment panel does not show key" << index << "- not saved";
    return false;
  }
  keys_.SetKeyEntry(index, panel_.ReadAssignment());
  picture_.RefreshKeyList();
  panel_.EnableEditingButtons(true);
  return true;
}

void KeyAssignmentFlow::Cancel() {
  panel_.ShowCurrent();
  panel_.EnableEditingButtons(false);
}

void KeyAssignmentFlow::RestoreDefault() {
  panel_.ShowDefault();
  if (keys_.DeviceKind() == kKeySetKeyboard) {
    if (Save()) Apply();
    return;
  }
  panel_.EnableEditingButtons(true);
}

void KeyAssignmentFlow::Apply() {
  keys_.ApplyKeyAssignments();
}

void KeyAssignmentFlow::ApplyFinished(const DeviceReport& report) {
  if (report.macroResult > 0) {
    services_.ShowMessage(QString::fromLatin1(kMacroImageTooLargeMessage), false,
                          report.macroResult);
    return;
  }
  if (report.macroResult <= kMacrosNotWritten) {
    // The key table is still written: the macros already in the device stay usable.
    services_.ShowMessage(QString::fromLatin1(kMacroWriteFailedMessage), false);
  }
  picture_.ShowChangedKeys();
  if (report.outcome == ChangeOutcome::kProfileOnly) {
    // The device is away: the changes wait and go to it when it is back (the status bar says so).
    return;
  }
  if (!report.keysWritten) {
    // The device refused the table or did not answer, whatever became of the macros: it keeps
    // its old table, and the changes still wait to be applied.
    services_.ShowMessage(QString::fromLatin1(kKeyTableWriteFailedMessage), false);
    return;
  }
  panel_.EnableEditingButtons(false);
}

bool KeyAssignmentFlow::ApplyCapturedKey(ScanCode scan) {
  if (!panel_.ApplyCapturedKey(scan)) return false;
  Save();
  return true;
}

bool KeyAssignmentFlow::HandleNotification(const Notification& n) {
  return bindings_.Dispatch(n) || panel_.HandleNotification(n);
}

}  // namespace vorlin
