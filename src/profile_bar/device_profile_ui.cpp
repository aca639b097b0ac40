#include "profile_bar/device_profile_ui.h"

#include <utility>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QSize>

#include "platform/log.h"
#include "profile_bar/common_file_dialogs.h"
#include "devices/device_capabilities.h"
#include "shell/message_box.h"
#include "ui/control_factory.h"
#include "ui/control_timers.h"
#include "ui/controls.h"
#include "ui/find_control.h"
#include "ui/layout_loader.h"
#include "ui/notify_bridge.h"
#include "ui/translator.h"
#include "ui/window_scale.h"

namespace vorlin {
namespace {

constexpr char kComboName[] = "device_profile_combo";
constexpr char kNameEditName[] = "device_profile_name_edit";
constexpr char kMenuName[] = "profile_menu_layout";
constexpr int kComboItemHeight = 30;

// The questions and notices of the bar (language keys).
constexpr char kAskAdd[] = "message_text_27";
constexpr char kAskCopy[] = "message_text_26";
constexpr char kAskDelete[] = "message_text_29";
constexpr char kAskReset[] = "message_text_22";
constexpr char kNameTaken[] = "message_text_5";
constexpr char kNameBlank[] = "message_text_25";
constexpr char kTooManyProfiles[] = "message_text_30";
constexpr char kSaveFailed[] = "profile_save_failed_text";
constexpr char kExportFailed[] = "profile_export_failed_text";

int DefaultMessageBox(QWidget* owner, const QString& text_key, int buttons, const QString& object) {
  const int dpi = owner ? WindowDpi(owner->window()) : 96;
  return ShowStyledMessage(owner ? owner->window() : nullptr, text_key,
                           buttons == kMessageConfirmCancel, dpi,
                           MessageTextAbout(text_key, object));
}

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), text.size());
}

// A path from a dialog in the file system's own encoding.
std::string LocalPath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

}  // namespace

CDeviceProfileUI::CDeviceProfileUI(QWidget* parent)
    : QWidget(parent),
      message_box_(DefaultMessageBox),
      dialogs_(std::make_unique<QtFileDialogs>()) {}

CDeviceProfileUI::~CDeviceProfileUI() = default;

void CDeviceProfileUI::SetMessageBox(MessageBoxFunction message_box) {
  message_box_ = message_box ? std::move(message_box) : DefaultMessageBox;
}

void CDeviceProfileUI::SetFileDialogs(std::unique_ptr<CommonFileDialogs> dialogs) {
  dialogs_ = dialogs ? std::move(dialogs) : std::make_unique<QtFileDialogs>();
}

void CDeviceProfileUI::SetPageKind(int kind) {
  list_.SetResetKeepsCustomEqualiser(kind == kHeadsetKind);
}

void CDeviceProfileUI::SetFolders(const std::string& user_data_folder,
                                  const std::string& default_document_path) {
  list_.SetFolders(user_data_folder, default_document_path);
  LoadList();
}

void CDeviceProfileUI::SetFolders(const ProfileFolders& folders, const std::string& data_name) {
  SetFolders(UserDataFolder(folders, data_name), DefaultDocumentPath(folders, data_name));
}

void CDeviceProfileUI::EnsureControls() {
  if (combo_) return;
  combo_ = FindControl<QComboBox>(this, QString::fromLatin1(kComboName));
  if (!combo_ && AttachSubLayout(this, QString::fromLatin1(kLayout)))
    combo_ = FindControl<QComboBox>(this, QString::fromLatin1(kComboName));
  if (!combo_) qCWarning(lcVorlin) << "profile bar without" << kComboName;
  name_edit_ = FindControl<QLineEdit>(this, QString::fromLatin1(kNameEditName));
  menu_ = FindControl(this, QString::fromLatin1(kMenuName));
  BindControls();
}

void CDeviceProfileUI::BindControls() {
  if (bound_) return;
  bound_ = true;
  using N = const Notification&;
  if (combo_) {
    // A profile picked in the combo is applied once the choice has rested (kSwitchDelayMs).
    bindings_.BindControl(combo_, notify::kItemSelect,
                          [this](N) { SetTimer(combo_, kSwitchTimerId, kSwitchDelayMs); });
    bindings_.BindTimer(combo_, kSwitchTimerId, [this](N) {
      KillTimer(combo_, kSwitchTimerId);
      SwitchProfile();
    });
  }
  const auto on_click = [this](const char* name, std::function<void()> action) {
    bindings_.Bind(this, name, notify::kClick, [action = std::move(action)](N) { action(); });
  };
  on_click("device_add_btn", [this] {
    if (Confirm(kAskAdd)) AddProfile();
  });
  on_click("device_copy_btn", [this] {
    if (Confirm(kAskCopy)) CopyProfile();
  });
  on_click("device_sub_btn", [this] {
    // The question names the profile, so the user sees what goes.
    if (Confirm(kAskDelete, combo_ ? combo_->currentText() : QString())) DeleteProfile();
  });
  on_click("device_profile_edit_save_btn", [this] { RenameProfile(); });
  on_click("device_import_btn", [this] {
    if (GetCurrentIndex() < 0) return;
    const QString path = dialogs_->OpenFile(window(), QString::fromLatin1(kProfileFileFilter));
    if (!path.isEmpty()) ImportProfile(LocalPath(path));
  });
  on_click("device_export_btn", [this] {
    if (GetCurrentIndex() < 0) return;
    const QString path = dialogs_->SaveFile(window(), QString::fromLatin1(kProfileFileFilter));
    if (!path.isEmpty()) ExportProfile(LocalPath(path));
  });
  on_click("device_reset_btn", [this] {
    if (!Confirm(kAskReset) || !host_) return;
    host_->ResetToFactory();
    emit factoryResetChosen();
  });
  on_click("profile_fun_spread_btn", [this] { ToggleMenu(); });
}

bool CDeviceProfileUI::LoadList() {
  EnsureControls();
  const bool loaded = list_.Load();
  ShowList();
  applied_id_ = list_.CurrentId();
  return loaded;
}

void CDeviceProfileUI::ShowList() {
  const int selected = list_.SelectedIndex();
  if (combo_) {
    NotificationBlocker quiet;
    combo_->clear();
    for (const ProfileEntry& profile : list_.Profiles()) {
      const QString name = FromUtf8(profile.name);
      combo_->addItem(name, name);
      combo_->setItemData(combo_->count() - 1, QSize(0, kComboItemHeight), Qt::SizeHintRole);
    }
    combo_->setCurrentIndex(selected);
  }
  if (name_edit_)
    name_edit_->setText(selected >= 0 ? FromUtf8(list_.Profiles()[selected].name) : QString());
}

int CDeviceProfileUI::GetCurrentIndex() const {
  return combo_ ? combo_->currentIndex() : -1;
}

int CDeviceProfileUI::GetProfileCount() {
  return list_.Count();
}

void CDeviceProfileUI::SelectProfile(int index) {
  EnsureControls();
  const ProfileList::Outcome outcome = list_.Select(index);
  // The selection holds for this run; only the next start may begin elsewhere.
  if (outcome.status == ProfileList::Status::kWriteFailed)
    qCWarning(lcVorlin) << "profile selection not saved";
  ShowList();
  applied_id_ = list_.CurrentId();
}

void CDeviceProfileUI::SwitchProfile() {
  EnsureControls();
  const int index = GetCurrentIndex();
  if (index < 0) return;
  const ProfileList::Outcome outcome = list_.Select(index);
  if (outcome.status == ProfileList::Status::kWriteFailed)
    qCWarning(lcVorlin) << "profile selection not saved";
  if (outcome.status == ProfileList::Status::kNoProfile) {
    // The picked profile was removed from the list meanwhile.
    ShowAndApplyChanges();
    return;
  }
  ShowList();
  ApplyCurrent();
}

void CDeviceProfileUI::ApplyCurrent() {
  const std::string id = list_.CurrentId();
  if (id.empty()) return;
  applied_id_ = id;
  if (host_) host_->ApplyProfile(id, list_.DocumentPath(list_.SelectedIndex()));
}

void CDeviceProfileUI::ShowAndApplyChanges() {
  ShowList();
  // The page must not go on working on a profile that is no longer current (or gone).
  if (list_.CurrentId() != applied_id_) ApplyCurrent();
}

void CDeviceProfileUI::TakeNewProfile(const ProfileList::Outcome& outcome) {
  ShowAndApplyChanges();
  switch (outcome.status) {
    case ProfileList::Status::kOk:
      break;
    case ProfileList::Status::kLimitReached:
      Tell(kTooManyProfiles);
      break;
    case ProfileList::Status::kRefused:
      // A file that is not a profile of this device is passed over (the log says why).
      break;
    case ProfileList::Status::kWriteFailed:
      Tell(kSaveFailed);
      break;
    default:
      qCWarning(lcVorlin) << "profile not created";
      break;
  }
}

ProfileList::Outcome CDeviceProfileUI::AddProfile() {
  EnsureControls();
  const ProfileList::Outcome outcome = list_.Add();
  TakeNewProfile(outcome);
  return outcome;
}

ProfileList::Outcome CDeviceProfileUI::CopyProfile() {
  EnsureControls();
  const int source = GetCurrentIndex();
  if (source < 0) return {ProfileList::Status::kNoProfile, -1};
  const ProfileList::Outcome outcome = list_.Copy(source);
  TakeNewProfile(outcome);
  return outcome;
}

ProfileList::Outcome CDeviceProfileUI::ImportProfile(const std::string& path) {
  EnsureControls();
  const ProfileList::Outcome outcome = list_.Import(path);
  TakeNewProfile(outcome);
  return outcome;
}

ProfileList::RenameResult CDeviceProfileUI::RenameProfile() {
  EnsureControls();
  const int index = GetCurrentIndex();
  if (index < 0 || !name_edit_) return ProfileList::RenameResult::kNoProfile;
  const QByteArray name = name_edit_->text().toUtf8();
  const ProfileList::RenameResult result =
      list_.Rename(index, std::string(name.constData(), name.size()));
  // A refused name stays in the edit for the user to correct; otherwise the edit shows the
  // name as kept.
  if (result == ProfileList::RenameResult::kRenamed) {
    ShowAndApplyChanges();
  } else {
    const QString typed = name_edit_->text();
    ShowAndApplyChanges();
    name_edit_->setText(typed);
  }
  switch (result) {
    case ProfileList::RenameResult::kRenamed:
      break;
    case ProfileList::RenameResult::kNameTaken:
      Tell(kNameTaken);
      break;
    case ProfileList::RenameResult::kNameBlank:
      Tell(kNameBlank);
      break;
    case ProfileList::RenameResult::kWriteFailed:
      Tell(kSaveFailed);
      break;
    case ProfileList::RenameResult::kNoProfile:
      qCWarning(lcVorlin) << "profile not renamed: it is no longer in the list";
      break;
  }
  return result;
}

ProfileList::Outcome CDeviceProfileUI::DeleteProfile() {
  EnsureControls();
  const int index = GetCurrentIndex();
  if (index < 0) return {ProfileList::Status::kNoProfile, -1};
  const ProfileList::Outcome outcome = list_.Delete(index);
  // When the current profile was deleted, the one now current goes into the device.
  ShowAndApplyChanges();
  if (outcome.status == ProfileList::Status::kWriteFailed) Tell(kSaveFailed);
  return outcome;
}

bool CDeviceProfileUI::ExportProfile(const std::string& path) {
  EnsureControls();
  const int index = GetCurrentIndex();
  if (index < 0 || path.empty()) return false;
  const bool written = list_.Export(index, path);
  ShowAndApplyChanges();
  if (!written) {
    qCWarning(lcVorlin) << "profile not exported to" << path.c_str();
    Tell(kExportFailed);
  }
  return written;
}

bool CDeviceProfileUI::ResetCurrentProfile() {
  EnsureControls();
  const bool reset = list_.ResetProfile(list_.SelectedIndex());
  ShowAndApplyChanges();
  return reset;
}

bool CDeviceProfileUI::Confirm(const char* text_key, const QString& object) {
  return message_box_(this, QString::fromLatin1(text_key), kMessageConfirmCancel, object) == 1;
}

void CDeviceProfileUI::Tell(const char* text_key) {
  message_box_(this, QString::fromLatin1(text_key), kMessageConfirmOnly, QString());
}

void CDeviceProfileUI::ToggleMenu() {
  if (menu_) menu_->setHidden(!menu_->isHidden());
}

bool CDeviceProfileUI::HandleNotification(const Notification& n) {
  // A page's layout may hold the bar's tree before the bar first looked for it: a
  // notification of one of its controls has it bound first. Others' notifications build nothing.
  if (n.sender && isAncestorOf(n.sender)) EnsureControls();
  return bindings_.Dispatch(n);
}

void RegisterProfileBarControls() {
  ControlFactory& factory = ControlFactory::Instance();
  factory.Register<CDeviceProfileUI>(
      {QStringLiteral("DeviceProfile"), QStringLiteral("CDeviceProfileUI")});
  factory.RegisterSubLayout(QStringLiteral("DeviceProfileUI"),
                            QString::fromLatin1(CDeviceProfileUI::kLayout));
}

}  // namespace vorlin
