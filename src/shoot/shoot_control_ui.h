#pragma once

// The shoot panel of the mouse page: the mouse's four recoil patterns ("guns") of up to 30
// bullets each. The user picks a gun ("shoot_gun_op_"n) and a bullet ("bullet_op_"n, or the
// arrows "bullet_selected_prev"/"bullet_selected_next"), edits its X and Y moves and its delay
// ("bullet_x_check", "bullet_x_eidt", "bullet_y_check", "bullet_y_eidt", "bullet_delay_eidt"),
// resets, imports or exports the gun, and sends all four guns to the mouse
// ("shootdate_save_btn"). Each gun is one file in the mouse's user data folder
// (profiles/gun_document.h), seeded from the factory files; every edit is written to it at once
// when an edit loses focus, and the mouse receives the guns only when they are sent. The files
// are shared by all profiles.
//
// Its controls come from "XML/CustomControlXML/ShootControl.xml": either the page's layout puts
// that tree inside the panel (tag "ShootKeySetControlUI"), or the panel builds it on first use.
// While no bullet is selected (bullet index -1, the state after start-up when no gun had to be
// seeded) the bullet editor is off and nothing is read from or written to a bullet.

#include <filesystem>
#include <string>

#include <QString>
#include <QWidget>

#include "profiles/gun_document.h"
#include "ui/control_bindings.h"
#include "ui/notification.h"

namespace vorlin {

class PageServices;
class RecoilControl;

class CShootControlUI : public QWidget {
  Q_OBJECT

 public:
  static constexpr char kLayout[] = "XML/CustomControlXML/ShootControl.xml";

  // The notices the panel shows through its page (language keys).
  static constexpr char kImportFailedText[] = "shoot_import_failed_text";
  static constexpr char kExportFailedText[] = "shoot_export_failed_text";
  static constexpr char kResetFailedText[] = "shoot_reset_failed_text";
  static constexpr char kSaveFailedText[] = "shoot_save_failed_text";
  static constexpr char kSendFailedText[] = "shoot_send_failed_text";

  explicit CShootControlUI(QWidget* parent = nullptr);
  ~CShootControlUI() override;

  // The mouse's recoil patterns and the page's services (both must outlive the panel).
  void SetHost(RecoilControl* recoil, PageServices* services) {
    recoil_ = recoil;
    services_ = services;
  }
  // The mouse's user data folder, where the gun files live.
  void SetDataFolder(const std::string& folder);
  // The factory folder (install folder + "DefaultData") holding the default gun files.
  void SetDefaultFolder(const std::string& folder);
  // Once both folders are set: finds the controls, seeds every gun file that is missing or
  // unreadable from its factory file (an unreadable one is kept aside first) and shows the
  // current gun. When a gun was seeded, the current bullet (bullet 0 at start) is selected.
  void InitGuns();

  // Selects gun `gun` (brought into 0..3) and shows its page; does not load a bullet.
  void SelectGun(int gun);
  // Selects bullet `bullet` (brought into 0..29) and loads it.
  void SelectBullet(int bullet);
  // Shows bullet `bullet` of gun `gun` in the editor; with a bullet or gun out of range the
  // editor is emptied and switched off. Also redraws the gun's pattern.
  void LoadBullet(int gun, int bullet);
  // Writes the editor's values as bullet `bullet` of gun `gun` (distances 0..255, delay
  // 0..65535; the edits then show what was stored). False when nothing was written because the
  // bullet or gun is out of range or the file could not be written (the user is told).
  bool SaveBullet(int gun, int bullet);
  // Replaces gun `gun` with its factory file and shows the current bullet. False, with a notice
  // and the gun unchanged, when the factory file cannot be read or the gun file not written.
  bool ResetGun(int gun);
  // Replaces the current gun with the file at `path` and shows the current bullet. A file that
  // cannot be read or is not JSON is refused with a notice; the gun stays as it was.
  bool ImportGun(const std::filesystem::path& path);
  // Copies the current gun's file to `path` (replacing a file there). False, with a notice, when
  // the gun file cannot be read or `path` not written.
  bool ExportGun(const std::filesystem::path& path);
  // The direction options' texts follow their state; nothing is saved until an edit loses focus.
  void UpdateXText();
  void UpdateYText();
  // Sends the four guns to the mouse; SendFinished tells the user when the mouse did not take
  // them. False when there is no mouse to send them to.
  bool SendToMouse();
  void SendFinished(bool written);

  // Carries out a notification of one of the panel's controls; false when it is not one.
  bool HandleNotification(const Notification& notification);

  int GunIndex() const { return gun_index_; }
  int BulletIndex() const { return bullet_index_; }
  std::filesystem::path GunPath(int gun) const { return GunFilePath(data_folder_, gun); }

  // A control of the panel's tree by name (builds the tree on first use).
  QWidget* Control(const QString& name) const;

 private:
  void EnsureBuilt() const;
  // Binds the handlers of the panel's controls (once the tree is built).
  void BindControls();
  void OnImportClicked();
  void OnExportClicked();
  bool ResetGunFile(int gun, bool keep_unreadable);
  void ShowBullet(const Bullet& bullet, bool enabled);
  Bullet EditorBullet() const;
  void ShowPattern(int gun, const Json::Value& document);
  void Tell(const char* text_key);

  mutable bool built_ = false;
  ControlBindings bindings_;
  RecoilControl* recoil_ = nullptr;
  PageServices* services_ = nullptr;
  int gun_index_ = 0;
  int bullet_index_ = -1;
  std::filesystem::path data_folder_;
  std::filesystem::path default_folder_;
};

// Makes the layouts' tags "ShootControl"/"CShootControlUI" create the panel,
// "ShootKeySetControlUI" build its control tree and "ShootPatternView" create its pattern views.
// Safe to call again.
void RegisterShootControls();

}  // namespace vorlin
