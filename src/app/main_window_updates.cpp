// The main window's side of the updates: the settings window's update page gets the targets and
// the server from here, its status shows as the badge on "setbtn" and "setting_progress",
// installer reports reach the open page, and the mouse's firmware notice asks for a firmware
// update.

#include <QAbstractButton>
#include <QDir>
#include <QIcon>
#include <QProcess>
#include <QSettings>

#include "app/device_probe.h"
#include "app/firmware_notice.h"
#include "app/main_window.h"
#include "app/settings_window.h"
#include "app/update_page.h"
#include "online/update_server.h"
#include "platform/log.h"
#include "shell/app_paths.h"
#include "shell/layout_window.h"
#include "shell/message_box.h"
#include "ui/find_control.h"
#include "ui/skin_manager.h"

namespace vorlin {

namespace {

constexpr char kSettingsIcon[] = "images/icons/settings.svg";
constexpr char kSettingsBadgeIcon[] = "images/icons/settings-badge.svg";

}  // namespace

UpdatePageServices CMainWnd::UpdateServices() {
  UpdatePageServices services;
  services.targets = [] { return UpdateTargets(SupportedDeviceTable(), ConnectedDeviceVersions()); };
  services.server = [this] {
    return settings_ ? ReadUpdateServer(*settings_) : ResolveUpdateServer({}, std::nullopt);
  };
  services.updateTimePath = UserDataPath(QStringLiteral("updatetime.config")).toStdString();
  services.statusChanged = [this](int status) { OnUpdateStatus(status); };
  return services;
}

void CMainWnd::OnUpdateStatus(int window_status) {
  ShowSettingProgress(window_status == window_status::kUpdating);
  if (window_status == window_status::kHaveUpdates && set_btn_) {
    set_btn_->setIcon(QIcon(SkinManager::Instance().FindFile(QLatin1String(kSettingsBadgeIcon))));
    update_badge_ = true;
  } else if (window_status == window_status::kUpToDate) {
    ClearUpdateBadge();
  }
}

void CMainWnd::ShowSettingProgress(bool show) {
  if (QWidget* progress = FindControl(window_.get(), QStringLiteral("setting_progress"))) {
    progress->setVisible(show);
  }
}

void CMainWnd::ClearUpdateBadge() {
  if (set_btn_) {
    set_btn_->setIcon(QIcon(SkinManager::Instance().FindFile(QLatin1String(kSettingsIcon))));
  }
  update_badge_ = false;
}

void CMainWnd::OpenSettingsCentred() {
  ShowSettingsWindow();
  if (set_wnd_) PlaceOver(set_wnd_->Window(), nullptr);
}

void CMainWnd::OnInstallerReport(int code, int value) {
  qCInfo(lcVorlin) << "installer report" << code << value;
  if (set_wnd_ && set_wnd_->Window()->isVisible()) set_wnd_->OnInstallerReport(code, value);
}

void CMainWnd::OnFirmwareNotice(int product_id, int version) {
  const QString folder = InstallPath(QStringLiteral("Updata"));
  const QString updater = FindFirmwareUpdater(folder);
  switch (DecideFirmwareNotice(version, updater)) {
    case FirmwareNoticeAction::kCurrent:
      firmware_current_ = true;
      return;
    case FirmwareNoticeAction::kRunUpdater:
      qCInfo(lcVorlin) << "firmware" << Qt::hex << version << "of product" << product_id
                       << "must be updated";
      if (ShowStyledMessage(window_.get(), QStringLiteral("message_text_24"), true, dpi_) == 1) {
        if (!QProcess::startDetached(updater, {QStringLiteral("On the upgrade")}, folder)) {
          qCWarning(lcVorlin) << "the firmware updater" << updater << "cannot be started";
        }
      } else {
        // The program cannot work with this firmware.
        CloseSecondaryWindows();
        Quit();
      }
      return;
    case FirmwareNoticeAction::kPointToUpdatePage:
      // Without an updater the user is shown where to update; ending the program would leave
      // them nothing to update with.
      if (ShowStyledMessage(window_.get(), QStringLiteral("firmware_update_page_text"), true,
                            dpi_) == 1) {
        OpenSettingsCentred();
      }
      return;
  }
}

}  // namespace vorlin
