#include "key_set/key_assignment_flow.h"

#include <QWidget>

#include "key_set/key_assignment_host.h"
#include "key_set/key_set_control_ui.h"
#include "key_set/key_set_messages.h"
#include "platform/log.h"

namespace vorlin {
namespace {

constexpr char kDefaultButton[] = "key_butt_keydefalut";
constexpr char kSaveButton[] = "key_butt_keysave";
constexpr char kCancelButton[] = "key_butt_keycancel";
constexpr char kApplyButton[] = "key_butt_prosave";

constexpr int kMacrosNotWritten = -1;

}  // namespace

KeyAssignmentFlow::KeyAssignmentFlow(CKeySetControlUI& panel, KeyAssignmentHost& host)
    : panel_(panel), host_(host) {}

KeySelection KeyAssignmentFlow::SelectKey(int index) {
  const std::vector<KeyAssignmentPair> keys = host_.KeyList();
  const KeySelection selection =
      CheckKeySelection(host_.DeviceKind(), keys, index, host_.ProfileReadable());
  switch (selection) {
    case KeySelection::kSelect:
      host_.MarkKey(index);
      panel_.ShowAssignment(keys[static_cast<size_t>(index)]);
      break;
    case KeySelection::kOnlyLeftButton:
      host_.ShowMessage(QString::fromLatin1(kOnlyLeftButtonMessage), std::nullopt);
      break;
    case KeySelection::kNoSuchKey:
    case KeySelection::kProfileUnreadable:
      break;
  }
  return selection;
}

bool KeyAssignmentFlow::Save() {
  const std::vector<KeyAssignmentPair> keys = host_.KeyList();
  const int index = host_.SelectedKey();
  if (index < 0 || static_cast<size_t>(index) >= keys.size()) return false;
  // The panel must show this key: its factory entry (key index included) names the key, so a
  // pair shown for another key (or none at all) never lands in this key's entry.
  if (panel_.Pair().factory != keys[static_cast<size_t>(index)].factory) {
    qCWarning(lcVorlin) << "key assignment panel does not show key" << index << "- not saved";
    return false;
  }
  host_.SetSelectedKeyEntry(panel_.ReadAssignment());
  host_.RefreshKeyList();
  panel_.EnableEditingButtons(true);
  return true;
}

void KeyAssignmentFlow::Cancel() {
  panel_.ShowCurrent();
  panel_.EnableEditingButtons(false);
}

void KeyAssignmentFlow::RestoreDefault() {
  panel_.ShowDefault();
  if (host_.DeviceKind() == kKeySetKeyboard) {
    if (Save()) Apply();
    return;
  }
  panel_.EnableEditingButtons(true);
}

bool KeyAssignmentFlow::Apply() {
  const int result = host_.DownloadMacros(host_.ListUsedMacros());
  if (result > 0) {
    host_.ShowMessage(QString::fromLatin1(kMacroImageTooLargeMessage), result);
    return false;
  }
  if (result <= kMacrosNotWritten) {
    // The keys are still written: the macros already in the device stay usable.
    host_.ShowMessage(QString::fromLatin1(kMacroWriteFailedMessage), std::nullopt);
  }
  const bool stored = host_.StoreKeyAssignments();
  host_.SaveProfile();
  host_.ShowChangedKeys();
  if (!stored) {
    // The device keeps its old table: the changes still wait to be applied.
    host_.ShowMessage(QString::fromLatin1(kKeyTableWriteFailedMessage), std::nullopt);
    return false;
  }
  panel_.EnableEditingButtons(false);
  return true;
}

bool KeyAssignmentFlow::ApplyCapturedKey(ScanCode scan) {
  if (!panel_.ApplyCapturedKey(scan)) return false;
  Save();
  return true;
}

bool KeyAssignmentFlow::HandleNotification(const Notification& n) {
  if (!n.sender || !panel_.isAncestorOf(n.sender)) return false;
  if (n.Is(QString::fromLatin1(notify::kClick))) {
    const QString name = n.SenderName();
    if (name == QLatin1String(kSaveButton)) {
      Save();
    } else if (name == QLatin1String(kCancelButton)) {
      Cancel();
    } else if (name == QLatin1String(kDefaultButton)) {
      RestoreDefault();
    } else if (name == QLatin1String(kApplyButton)) {
      Apply();
    } else {
      return false;
    }
    return true;
  }
  return panel_.HandleNotification(n);
}

}  // namespace vorlin
