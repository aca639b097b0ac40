// What became of the user's changes: the status bar says whether a change reached the device, is
// kept in the profile only (the device is not there) or could not be written and why; a change
// that did not reach its device stays said with a "Retry" button (report_status_bar.h).

#include "app/main_window.h"
#include "app/report_status_bar.h"
#include "devices/device_client.h"
#include "pages/device_page.h"
#include "ui/translator.h"

namespace vorlin {

void CMainWnd::ShowReport(const DevicePage* page, const DeviceReport& report) {
  if (report_bar_ && page) report_bar_->Take(page->Product().dataName, report);
}

void CMainWnd::RetryDevice(const std::string& data_name) {
  for (DevicePage* page : pages_) {
    if (!page || page->Product().dataName != data_name) continue;
    // The profile as it is kept, written whole through the profile's own apply path: the
    // settings record, the macros and the key table.
    const DeviceView& view = page->Client().View();
    if (!view.profilePath.empty()) page->Client().ApplyProfile(view.profileId, view.profilePath);
    return;
  }
}

QString CMainWnd::DeviceName(const std::string& data_name) const {
  for (const DevicePage* page : pages_) {
    if (!page || page->Product().dataName != data_name) continue;
    return Translator::Instance().Text(QString::fromStdString(page->Product().iconStem) +
                                       QStringLiteral("_device_name_text"));
  }
  return {};
}

}  // namespace vorlin
