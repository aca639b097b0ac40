#pragma once

// The status bar's side of the user's changes: a change written to its device is said for a few
// seconds; one that failed or is kept in the profile only (the device was away) stays said, with
// its reason and a "Retry" button, until a later write carries it (change_reports.h). Retry
// writes the device's current profile again through the profile's own apply path.

#include <functional>
#include <optional>
#include <string>

#include <QPointer>
#include <QString>
#include <QTimer>

#include "app/change_reports.h"

class QAbstractButton;
class QLabel;
class QPushButton;

namespace vorlin {

class ReportStatusBar {
 public:
  static constexpr int kWrittenShownMs = 4000;

  // `label` is the status bar's text; the Retry button goes beside it. `idle` puts the status
  // bar's own text back; `retry` writes device `device`'s profile again.
  ReportStatusBar(QLabel* label, std::function<void()> idle,
                  std::function<void(const std::string& device)> retry);
  ~ReportStatusBar();
  ReportStatusBar(const ReportStatusBar&) = delete;
  ReportStatusBar& operator=(const ReportStatusBar&) = delete;

  void Take(const std::string& device, const DeviceReport& report);
  // The name the status bar gives device `device` (its data name) in front of what it says of
  // it; without names (or for an empty one) only the outcome is said.
  void SetDeviceNames(std::function<QString(const std::string& device)> names);
  // Shows what is to be said now (a fresh written report, else the latest waiting change) and
  // returns true; false when there is nothing, and the status bar's own text may stand.
  bool Show();
  QAbstractButton* RetryButton() const;

 private:
  void Say(const std::string& device, const DeviceReport& report, bool retry);
  void Retry();

  QPointer<QLabel> label_;
  QPointer<QPushButton> retry_button_;
  std::function<void()> idle_;
  std::function<void(const std::string&)> retry_;
  ChangeReports reports_;
  std::function<QString(const std::string&)> names_;
  bool written_shown_ = false;
  std::string written_device_;
  QTimer written_timer_;
};

}  // namespace vorlin
