#include "app/report_status_bar.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "ui/translator.h"

namespace vorlin {

namespace {

constexpr char kRetryKey[] = "status_retry_button";
// "%1: %2": the device's name, then what is said of its change.
constexpr char kDeviceSaidKey[] = "status_device_said_text";

// The label's look follows the outcome it says (the skin marks a failure).
void MarkOutcome(QLabel* label, const QVariant& outcome) {
  if (label->property("report") == outcome) return;
  label->setProperty("report", outcome);
  label->style()->unpolish(label);
  label->style()->polish(label);
}

}  // namespace

ReportStatusBar::ReportStatusBar(QLabel* label, std::function<void()> idle,
                                 std::function<void(const std::string&)> retry)
    : label_(label), idle_(std::move(idle)), retry_(std::move(retry)) {
  written_timer_.setSingleShot(true);
  written_timer_.setInterval(kWrittenShownMs);
  QObject::connect(&written_timer_, &QTimer::timeout, &written_timer_, [this] {
    written_shown_ = false;
    if (!Show() && idle_) idle_();
  });
  if (!label_) return;
  retry_button_ = new QPushButton(label_->parentWidget());
  retry_button_->setObjectName(QStringLiteral("status_retry"));
  retry_button_->setFocusPolicy(Qt::TabFocus);
  retry_button_->hide();
  Translator::Instance().SetTextKey(retry_button_, QString::fromLatin1(kRetryKey));
  QObject::connect(retry_button_, &QPushButton::clicked, retry_button_, [this] { Retry(); });
  if (auto* box = qobject_cast<QBoxLayout*>(label_->parentWidget()->layout())) {
    box->insertWidget(box->indexOf(label_) + 1, retry_button_);
  }
}

ReportStatusBar::~ReportStatusBar() = default;

void ReportStatusBar::Take(const std::string& device, const DeviceReport& report) {
  reports_.Take(device, report);
  written_shown_ = report.outcome == ChangeOutcome::kWritten;
  if (written_shown_) written_device_ = device;
  if (written_shown_) {
    written_timer_.start();
  } else {
    written_timer_.stop();
  }
  if (!Show() && idle_) idle_();
}

bool ReportStatusBar::Show() {
  if (!label_) return false;
  if (written_shown_) {
    Say(written_device_, DeviceReport(), false);
    return true;
  }
  const std::optional<ChangeReports::Waiting> waiting = reports_.Shown();
  if (!waiting) {
    MarkOutcome(label_, QVariant());
    if (retry_button_) retry_button_->hide();
    return false;
  }
  Say(waiting->device, waiting->report, true);
  return true;
}

QAbstractButton* ReportStatusBar::RetryButton() const {
  return retry_button_;
}

void ReportStatusBar::SetDeviceNames(std::function<QString(const std::string&)> names) {
  names_ = std::move(names);
  Show();
}

void ReportStatusBar::Say(const std::string& device, const DeviceReport& report, bool retry) {
  const Translator& texts = Translator::Instance();
  const QString said = texts.Text(QString::fromLatin1(ReportTextKey(report)));
  const QString name = names_ ? names_(device) : QString();
  label_->setText(name.isEmpty() ? said
                                 : texts.Text(QString::fromLatin1(kDeviceSaidKey)).arg(name, said));
  MarkOutcome(label_, static_cast<int>(report.outcome));
  if (retry_button_) retry_button_->setVisible(retry);
}

void ReportStatusBar::Retry() {
  const std::optional<ChangeReports::Waiting> waiting = reports_.Shown();
  if (waiting && retry_) retry_(waiting->device);
}

}  // namespace vorlin
