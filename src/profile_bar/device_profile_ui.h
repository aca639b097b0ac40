#pragma once

#include <functional>
#include <memory>
#include <string>

#include <QPointer>
#include <QString>
#include <QWidget>

#include "profiles/profile_folders.h"
#include "profiles/profile_list.h"
#include "ui/control_bindings.h"
#include "ui/notification.h"

class QComboBox;
class QLineEdit;

namespace vorlin {

class CommonFileDialogs;
class ProfileControl;

// The profile bar of a device page: the combo "device_profile_combo" with the page's profiles,
// the name edit "device_profile_name_edit" and the menu "profile_menu_layout" with add, copy,
// delete, rename, import, export and reset. The list itself is a ProfileList; the bar shows it,
// asks before changes and tells the device (its ProfileControl) when another profile becomes
// current, so that the device loads it and writes it whole.
//
// Its controls come from "XML/CustomControlXML/DeviceProfile.xml": either the page's layout puts
// that tree inside the bar (tag "DeviceProfileUI"), or the bar builds it itself on first use.
// The bar binds its controls' handlers when it first finds them. Notifications of the controls
// reach the window's handler, which hands them to HandleNotification (the bar answers only for
// its own controls, so a window may offer every notification to every page's bar).
class CDeviceProfileUI : public QWidget {
  Q_OBJECT

 public:
  // (owner, text key, buttons, the name of what the question is about or empty) → 1 when
  // confirmed; ShowStyledMessage unless replaced.
  using MessageBoxFunction = std::function<int(QWidget* owner, const QString& text_key, int buttons,
                                               const QString& object)>;

  static constexpr char kLayout[] = "XML/CustomControlXML/DeviceProfile.xml";
  // A profile picked in the combo is applied once the choice has rested this long, so that
  // scrolling through the list does not load every profile on the way into the device.
  static constexpr int kSwitchTimerId = 1055;
  static constexpr int kSwitchDelayMs = 400;
  // The headset's page kind: its reset keeps the user's equaliser presets.
  static constexpr int kHeadsetKind = 7;

  explicit CDeviceProfileUI(QWidget* parent = nullptr);
  ~CDeviceProfileUI() override;

  void SetHost(ProfileControl* host) { host_ = host; }
  void SetMessageBox(MessageBoxFunction message_box);
  void SetFileDialogs(std::unique_ptr<CommonFileDialogs> dialogs);
  void SetPageKind(int kind);

  // The kind's user data folder and factory document, then loads the list (see LoadList).
  void SetFolders(const std::string& user_data_folder, const std::string& default_document_path);
  void SetFolders(const ProfileFolders& folders, const std::string& data_name);
  // Reads "ProfileList.ini" (making a first profile when there is none), fills the combo and
  // selects the current profile. The page then loads GetCurrentProfileId()'s document itself.
  bool LoadList();

  // The combo's selection; -1 when none.
  int GetCurrentIndex() const;
  // The number of profiles in "ProfileList.ini".
  int GetProfileCount();
  std::string GetProfilePath(int index) const { return list_.DocumentPath(index); }
  std::string GetCurrentProfileId() const { return list_.CurrentId(); }
  const ProfileList& List() const { return list_; }

  // Makes profile `index` current in the combo, the name edit and the list, without applying
  // it to the device: the caller does that.
  void SelectProfile(int index);
  // Makes the combo's selection current and has the page apply it.
  void SwitchProfile();

  // The operations of the menu, without the questions the buttons ask first. Each shows its
  // message where the user must know why nothing happened (the limit, a refused name, a file
  // that could not be written). Each leaves the combo showing the list as it is on disk and,
  // when another profile has become current, has the page apply it.
  ProfileList::Outcome AddProfile();
  ProfileList::Outcome CopyProfile();
  ProfileList::RenameResult RenameProfile();  // the name in the name edit
  ProfileList::Outcome DeleteProfile();
  ProfileList::Outcome ImportProfile(const std::string& path);
  bool ExportProfile(const std::string& path);
  // Gives the current profile the factory settings (the keyboard does this when the keyboard
  // itself was reset); the page reloads it afterwards.
  bool ResetCurrentProfile();

  // Routes a notification of one of the bar's controls; false when it is not one.
  bool HandleNotification(const Notification& notification);

 signals:
  // The user confirmed "restore factory settings"; the device has been asked to take them.
  void factoryResetChosen();

 private:
  void EnsureControls();
  void BindControls();
  // Fills the combo from the list and selects the current profile, silently.
  void ShowList();
  void ApplyCurrent();
  // After an operation: the combo shows the list, and the page gets the current profile when it
  // is not the one it has.
  void ShowAndApplyChanges();
  // After add, copy or import: the new profile is current, on screen and in the device.
  void TakeNewProfile(const ProfileList::Outcome& outcome);
  bool Confirm(const char* text_key, const QString& object = QString());
  void Tell(const char* text_key);
  void ToggleMenu();

  ProfileList list_;
  ProfileControl* host_ = nullptr;
  MessageBoxFunction message_box_;
  std::unique_ptr<CommonFileDialogs> dialogs_;
  QPointer<QComboBox> combo_;
  QPointer<QLineEdit> name_edit_;
  QPointer<QWidget> menu_;
  ControlBindings bindings_;
  bool bound_ = false;
  // The profile the page has loaded (it loads the first one itself after LoadList).
  std::string applied_id_;
};

// Makes the layouts' tags "DeviceProfile"/"CDeviceProfileUI" create the bar and
// "DeviceProfileUI" build its control tree.
void RegisterProfileBarControls();

}  // namespace vorlin
