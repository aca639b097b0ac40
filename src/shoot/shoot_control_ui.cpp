#include "shoot/shoot_control_ui.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>

#include "devices/device_capabilities.h"
#include "platform/log.h"
#include "profiles/json_access.h"
#include "shoot/shoot_pattern_view.h"
#include "ui/control_factory.h"
#include "ui/controls.h"
#include "ui/find_control.h"
#include "ui/layout_loader.h"
#include "ui/notify_bridge.h"
#include "ui/page_services.h"
#include "ui/skin_manager.h"
#include "ui/translator.h"

namespace vorlin {
namespace {

constexpr char kGunOptionPrefix[] = "shoot_gun_op_";
constexpr char kBulletOptionPrefix[] = "bullet_op_";
constexpr char kPatternViewPrefix[] = "shoot_pattern_view_";
constexpr char kImageSwitch[] = "shoot_image_display_switch";
constexpr char kEditLayout[] = "bullet_edit_layout";
constexpr char kSelectIndex[] = "bullet_select_index";
constexpr char kPrevButton[] = "bullet_selected_prev";
constexpr char kNextButton[] = "bullet_selected_next";
constexpr char kXCheck[] = "bullet_x_check";
constexpr char kYCheck[] = "bullet_y_check";
constexpr char kXEdit[] = "bullet_x_eidt";
constexpr char kYEdit[] = "bullet_y_eidt";
constexpr char kDelayEdit[] = "bullet_delay_eidt";
constexpr char kSendButton[] = "shootdate_save_btn";
constexpr char kResetButton[] = "shootdate_reset_btn";
constexpr char kImportButton[] = "shootdate_import_btn";
constexpr char kExportButton[] = "shootdate_export_btn";

constexpr char kLeftText[] = "mouse_move_to_left_text";
constexpr char kRightText[] = "mouse_move_to_right_text";
constexpr char kUpText[] = "mouse_move_to_up_text";
constexpr char kDownText[] = "mouse_move_to_down_text";

QString Numbered(const char* prefix, int n) {
  return QString::fromLatin1(prefix) + QString::number(n);
}

bool ValidGun(int gun) {
  return gun >= 0 && gun < kGunCount;
}

bool ValidBullet(int bullet) {
  return bullet >= 0 && bullet < kBulletCount;
}

// Unchecks every option of a list without notifications; an exclusive group would refuse to
// clear its checked option, so it is opened for the moment.
void ClearOptions(const QWidget* root, const char* prefix, int count) {
  NotificationBlocker quiet;
  for (int n = 0; n < count; ++n) {
    auto* option = FindControl<QAbstractButton>(root, Numbered(prefix, n));
    if (!option || !option->isChecked()) continue;
    QButtonGroup* group = option->group();
    const bool exclusive = group && group->exclusive();
    if (exclusive) group->setExclusive(false);
    option->setChecked(false);
    if (exclusive) group->setExclusive(true);
  }
}

std::filesystem::path LocalPath(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

void SetDirection(QAbstractButton* check, bool on, const char* on_key, const char* off_key,
                  const char* on_icon, const char* off_icon) {
  if (!check) return;
  Translator::Instance().SetTextKey(check, QString::fromLatin1(on ? on_key : off_key));
  const QString icon =
      SkinManager::Instance().FindFile(QString::fromLatin1(on ? on_icon : off_icon));
  check->setIcon(icon.isEmpty() ? QIcon() : QIcon(icon));
}

}  // namespace

CShootControlUI::CShootControlUI(QWidget* parent) : QWidget(parent) {
  // The pattern views must be known before the layout is built.
  RegisterShootControls();
}

CShootControlUI::~CShootControlUI() = default;

void CShootControlUI::EnsureBuilt() const {
  if (built_) return;
  built_ = true;
  auto* self = const_cast<CShootControlUI*>(this);
  // A page's layout may have built the tree inside the panel already.
  if (findChildren<QWidget*>(Qt::FindDirectChildrenOnly).isEmpty() &&
      !AttachSubLayout(self, QString::fromLatin1(kLayout))) {
    qCWarning(lcVorlin) << "shoot panel without its layout" << kLayout;
  }
  self->BindControls();
}

void CShootControlUI::BindControls() {
  using N = const Notification&;
  // Of an option pair, the option that lost its selection reports too; only the chosen one acts.
  bindings_.BindNumbered(this, kGunOptionPrefix, notify::kSelectChanged, [this](N n, int gun) {
    if (!IsSelected(qobject_cast<QAbstractButton*>(n.sender))) return;
    SelectGun(gun);
    LoadBullet(gun_index_, bullet_index_);
  });
  bindings_.BindNumbered(this, kBulletOptionPrefix, notify::kSelectChanged,
                         [this](N n, int bullet) {
                           if (IsSelected(qobject_cast<QAbstractButton*>(n.sender)))
                             SelectBullet(bullet);
                         });
  bindings_.Bind(this, kXCheck, notify::kSelectChanged, [this](N) { UpdateXText(); });
  bindings_.Bind(this, kYCheck, notify::kSelectChanged, [this](N) { UpdateYText(); });
  // An edit is stored when it is left or Enter is pressed.
  for (const char* edit : {kXEdit, kYEdit, kDelayEdit}) {
    for (const char* type : {notify::kKillFocus, notify::kReturn})
      bindings_.Bind(this, edit, type, [this](N) { SaveBullet(gun_index_, bullet_index_); });
  }
  bindings_.Bind(this, kPrevButton, notify::kClick, [this](N) { SelectBullet(bullet_index_ - 1); });
  bindings_.Bind(this, kNextButton, notify::kClick, [this](N) { SelectBullet(bullet_index_ + 1); });
  bindings_.Bind(this, kSendButton, notify::kClick, [this](N) { SendToMouse(); });
  bindings_.Bind(this, kResetButton, notify::kClick, [this](N) { ResetGun(gun_index_); });
  bindings_.Bind(this, kImportButton, notify::kClick, [this](N) { OnImportClicked(); });
  bindings_.Bind(this, kExportButton, notify::kClick, [this](N) { OnExportClicked(); });
}

void CShootControlUI::OnImportClicked() {
  if (!services_) return;
  const QString path = services_->OpenFile(QString::fromLatin1(kShootFileFilter));
  if (!path.isEmpty()) ImportGun(LocalPath(path));
}

void CShootControlUI::OnExportClicked() {
  if (!services_) return;
  const QString path = services_->SaveFile(QString::fromLatin1(kShootFileFilter));
  if (!path.isEmpty()) ExportGun(LocalPath(path));
}

QWidget* CShootControlUI::Control(const QString& name) const {
  EnsureBuilt();
  return FindControl(this, name);
}

void CShootControlUI::SetDataFolder(const std::string& folder) {
  data_folder_ = folder;
}

void CShootControlUI::SetDefaultFolder(const std::string& folder) {
  default_folder_ = folder;
}

void CShootControlUI::InitGuns() {
  EnsureBuilt();
  for (const char* name : {kImageSwitch, kEditLayout, kSelectIndex, kPrevButton, kNextButton,
                           kXCheck, kYCheck, kXEdit, kYEdit, kDelayEdit, kSendButton,
                           kResetButton, kImportButton, kExportButton}) {
    if (!Control(QString::fromLatin1(name))) qCWarning(lcVorlin) << "shoot panel without" << name;
  }
  if (data_folder_.empty()) {
    qCWarning(lcVorlin) << "shoot panel without a data folder";
    return;
  }
  std::error_code error;
  std::filesystem::create_directories(data_folder_, error);
  bool seeded = false;
  for (int gun = 0; gun < kGunCount; ++gun) {
    if (GunFileNeedsSeeding(GunPath(gun))) seeded |= ResetGunFile(gun, true);
  }
  SelectGun(gun_index_);
  if (seeded) {
    SelectBullet(bullet_index_);
  } else {
    LoadBullet(gun_index_, bullet_index_);
  }
}

bool CShootControlUI::ResetGunFile(int gun, bool keep_unreadable) {
  const GunFileResult result = SeedGunFile(default_folder_, data_folder_, gun, keep_unreadable);
  if (result == GunFileResult::kDone) return true;
  qCWarning(lcVorlin) << "gun" << gun << "not reset from" << default_folder_.c_str() << "result"
                      << static_cast<int>(result);
  return false;
}

void CShootControlUI::SelectGun(int gun) {
  EnsureBuilt();
  ClearOptions(this, kGunOptionPrefix, kGunCount);
  gun_index_ = ClampGunIndex(gun);
  SetSelected(FindControl<QAbstractButton>(this, Numbered(kGunOptionPrefix, gun_index_)), true,
              false);
  SelectTab(FindControl<QStackedWidget>(this, QString::fromLatin1(kImageSwitch)), gun_index_);
}

void CShootControlUI::SelectBullet(int bullet) {
  EnsureBuilt();
  ClearOptions(this, kBulletOptionPrefix, kBulletCount);
  bullet_index_ = ClampBulletIndex(bullet);
  SetSelected(FindControl<QAbstractButton>(this, Numbered(kBulletOptionPrefix, bullet_index_)),
              true, false);
  LoadBullet(gun_index_, bullet_index_);
}

void CShootControlUI::LoadBullet(int gun, int bullet) {
  EnsureBuilt();
  if (!ValidGun(gun)) {
    ShowBullet({}, false);
    return;
  }
  const Json::Value document = ReadGunFile(GunPath(gun));
  ShowPattern(gun, document);
  if (auto* pattern = FindControl<ShootPatternView>(this, Numbered(kPatternViewPrefix, gun)))
    pattern->SetSelectedBullet(ValidBullet(bullet) ? bullet : -1);
  if (!ValidBullet(bullet)) {
    ShowBullet({}, false);
    return;
  }
  ShowBullet(ReadBullet(document, bullet), true);
  if (auto* label = FindControl<QLabel>(this, QString::fromLatin1(kSelectIndex)))
    label->setText(QString::number(bullet + 1));
}

void CShootControlUI::ShowBullet(const Bullet& bullet, bool enabled) {
  if (auto* layout = FindControl(this, QString::fromLatin1(kEditLayout)))
    layout->setEnabled(enabled);
  {
    NotificationBlocker quiet;
    SetSelected(FindControl<QAbstractButton>(this, QString::fromLatin1(kXCheck)),
                enabled && bullet.x_left, false);
    SetSelected(FindControl<QAbstractButton>(this, QString::fromLatin1(kYCheck)),
                enabled && bullet.y_up, false);
  }
  UpdateXText();
  UpdateYText();
  const auto show = [this, enabled](const char* name, int value) {
    if (auto* edit = FindControl<QLineEdit>(this, QString::fromLatin1(name)))
      edit->setText(enabled ? QString::number(value) : QString());
  };
  show(kXEdit, bullet.x_distance);
  show(kYEdit, bullet.y_distance);
  show(kDelayEdit, bullet.delay);
  if (!enabled) {
    if (auto* label = FindControl<QLabel>(this, QString::fromLatin1(kSelectIndex)))
      label->clear();
  }
}

Bullet CShootControlUI::EditorBullet() const {
  const auto number = [this](const char* name) {
    const auto* edit = FindControl<QLineEdit>(this, QString::fromLatin1(name));
    return edit ? LeadingNumber(edit->text().toStdString()) : 0;
  };
  Bullet bullet;
  bullet.x_left = IsSelected(FindControl<QAbstractButton>(this, QString::fromLatin1(kXCheck)));
  bullet.y_up = IsSelected(FindControl<QAbstractButton>(this, QString::fromLatin1(kYCheck)));
  bullet.x_distance = number(kXEdit);
  bullet.y_distance = number(kYEdit);
  bullet.delay = number(kDelayEdit);
  return bullet;
}

void CShootControlUI::ShowPattern(int gun, const Json::Value& document) {
  if (auto* pattern = FindControl<ShootPatternView>(this, Numbered(kPatternViewPrefix, gun)))
    pattern->SetBullets(ReadBullets(document));
}

bool CShootControlUI::SaveBullet(int gun, int bullet) {
  EnsureBuilt();
  if (!ValidGun(gun) || !ValidBullet(bullet) || data_folder_.empty()) return false;
  const std::filesystem::path path = GunPath(gun);
  Json::Value document = ReadGunFile(path);
  const Bullet value = ClampBullet(EditorBullet());
  // An edit that merely lost focus changes nothing on disk.
  const Json::Value wanted = BulletEvents(value);
  const Json::Value& events = Member(document, "Events");
  bool same = true;
  for (Json::ArrayIndex i = 0; i < kEventsPerBullet && same; ++i)
    same = Element(events, bullet * kEventsPerBullet + i) == wanted[i];
  if (!same) {
    if (document.isNull() && !KeepUnreadableGunFile(path)) {
      Tell(kSaveFailedText);
      return false;
    }
    WriteBullet(document, bullet, value);
    if (!WriteGunFile(path, document)) {
      qCWarning(lcVorlin) << "gun file not written:" << path.c_str();
      Tell(kSaveFailedText);
      return false;
    }
  }
  // The edits show what was stored (a distance above 255 is kept as 255).
  if (gun == gun_index_ && bullet == bullet_index_) ShowBullet(value, true);
  ShowPattern(gun, document);
  return true;
}

bool CShootControlUI::ResetGun(int gun) {
  EnsureBuilt();
  if (!ValidGun(gun) || data_folder_.empty()) return false;
  if (!ResetGunFile(gun, false)) {
    Tell(kResetFailedText);
    return false;
  }
  SelectBullet(bullet_index_);
  return true;
}

bool CShootControlUI::ImportGun(const std::filesystem::path& path) {
  EnsureBuilt();
  if (data_folder_.empty()) return false;
  const GunFileResult result = CopyGunFile(path, GunPath(gun_index_));
  if (result != GunFileResult::kDone) {
    qCWarning(lcVorlin) << "gun not imported from" << path.c_str() << "result"
                        << static_cast<int>(result);
    Tell(kImportFailedText);
    return false;
  }
  SelectBullet(bullet_index_);
  return true;
}

bool CShootControlUI::ExportGun(const std::filesystem::path& path) {
  EnsureBuilt();
  if (data_folder_.empty()) return false;
  const GunFileResult result = CopyGunFile(GunPath(gun_index_), path);
  if (result != GunFileResult::kDone) {
    qCWarning(lcVorlin) << "gun not exported to" << path.c_str() << "result"
                        << static_cast<int>(result);
    Tell(kExportFailedText);
    return false;
  }
  return true;
}

void CShootControlUI::UpdateXText() {
  auto* check = FindControl<QAbstractButton>(this, QString::fromLatin1(kXCheck));
  SetDirection(check, IsSelected(check), kLeftText, kRightText, "images/icons/arrow-left.svg",
               "images/icons/arrow-right.svg");
}

void CShootControlUI::UpdateYText() {
  auto* check = FindControl<QAbstractButton>(this, QString::fromLatin1(kYCheck));
  SetDirection(check, IsSelected(check), kUpText, kDownText, "images/icons/arrow-up.svg",
               "images/icons/arrow-down.svg");
}

bool CShootControlUI::SendToMouse() {
  if (!recoil_) return false;
  recoil_->DownloadShootData();
  return true;
}

void CShootControlUI::SendFinished(bool written) {
  if (!written) Tell(kSendFailedText);
}

void CShootControlUI::Tell(const char* text_key) {
  if (services_) services_->ShowMessage(QString::fromLatin1(text_key), false);
}

bool CShootControlUI::HandleNotification(const Notification& n) {
  // A page's layout may hold the panel's tree before the panel first looked for it: a
  // notification of one of its controls has it bound first. Others' notifications build nothing.
  if (n.sender && isAncestorOf(n.sender)) EnsureBuilt();
  return bindings_.Dispatch(n);
}

void RegisterShootControls() {
  static bool registered = false;
  if (registered) return;
  registered = true;
  ControlFactory& factory = ControlFactory::Instance();
  factory.Register<CShootControlUI>(
      {QStringLiteral("ShootControl"), QStringLiteral("CShootControlUI")});
  factory.RegisterSubLayout(QStringLiteral("ShootKeySetControlUI"),
                            QString::fromLatin1(CShootControlUI::kLayout));
  factory.Register<ShootPatternView>({QStringLiteral("ShootPatternView")});
}

}  // namespace vorlin
