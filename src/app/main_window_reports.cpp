// What became of the user's changes: the status bar says for a while whether a change reached
// the device, is kept in the profile only (the device is not there) or could not be written.

#include <QLabel>
#include <QTimer>

#include "app/main_window.h"
#include "ui/translator.h"

namespace vorlin {

namespace {

constexpr int kReportShownMs = 4000;

QString ReportTextKey(ChangeOutcome outcome) {
  switch (outcome) {
    case ChangeOutcome::kWritten:
      return QStringLiteral("status_written_text");
    case ChangeOutcome::kProfileOnly:
      return QStringLiteral("status_profile_only_text");
    case ChangeOutcome::kFailed:
      break;
  }
  return QStringLiteral("status_write_failed_text");
}

}  // namespace

void CMainWnd::ShowReport(const DeviceReport& report) {
  if (!status_text_) return;
  status_text_->setText(Translator::Instance().Text(ReportTextKey(report.outcome)));
  status_text_->setProperty("report", static_cast<int>(report.outcome));
  QTimer::singleShot(kReportShownMs, status_text_, [this] {
    status_text_->setProperty("report", QVariant());
    UpdateStatusText();
  });
}

}  // namespace vorlin
