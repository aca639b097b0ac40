#include "app/update_list_item.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QProgressBar>
#include <QPushButton>

#include "ui/find_control.h"
#include "ui/layout_loader.h"
#include "ui/notify_bridge.h"
#include "ui/translator.h"

namespace vorlin {

namespace {

constexpr char kLayout[] = "XML\\CustomControlXML\\device_Update_list_item.xml";
// Rows with nothing to do are grey.
constexpr char kGreyStyle[] = "color: #666666;";

// The row without its layout file: the same controls by name.
QWidget* BuildBuiltInRow(QWidget* list) {
  auto* row = new QWidget(list);
  auto* box = new QHBoxLayout(row);
  auto add = [&](QWidget* control, const char* name) {
    control->setObjectName(QLatin1String(name));
    box->addWidget(control);
  };
  add(new QCheckBox(row), "check_name_select");
  add(new QLabel(row), "update_cur_version");
  add(new QLabel(row), "update_new_version");
  add(new QLabel(row), "update_status_text");
  add(new QProgressBar(row), "update_progress");
  add(new QLabel(row), "update_percent_text");
  add(new QLabel(QStringLiteral("\u2713"), row), "update_done_mark");
  add(new QPushButton(row), "update_show_file");
  Translator::Instance().SetTextKey(FindControl(row, QStringLiteral("update_show_file")),
                                    QStringLiteral("update_show_file_text"));
  if (list->layout()) list->layout()->addWidget(row);
  WireNotifications(row);
  return row;
}

}  // namespace

CUpdateInfoListItemUI::CUpdateInfoListItemUI(QWidget* list, int index) {
  QWidget* row = AttachSubLayout(list, QString::fromLatin1(kLayout));
  if (!row) row = BuildBuiltInRow(list);
  root_ = row;
  row->setFixedHeight(kHeight);
  tick_ = FindControl<QCheckBox>(row, QStringLiteral("check_name_select"));
  current_ = FindControl<QLabel>(row, QStringLiteral("update_cur_version"));
  offered_ = FindControl<QLabel>(row, QStringLiteral("update_new_version"));
  status_ = FindControl<QLabel>(row, QStringLiteral("update_status_text"));
  progress_ = FindControl<QProgressBar>(row, QStringLiteral("update_progress"));
  percent_ = FindControl<QLabel>(row, QStringLiteral("update_percent_text"));
  done_ = FindControl<QLabel>(row, QStringLiteral("update_done_mark"));
  show_file_ = FindControl<QPushButton>(row, QStringLiteral("update_show_file"));
  for (QWidget* control : row->findChildren<QWidget*>()) control->setProperty(kRowProperty, index);
  row->setProperty(kRowProperty, index);
  if (progress_) progress_->setRange(0, 100);
}

CUpdateInfoListItemUI::~CUpdateInfoListItemUI() {
  // The row may be going while one of its controls reports a click: it leaves the list now and
  // is deleted once that is over.
  if (!root_) return;
  root_->hide();
  root_->setParent(nullptr);
  root_->deleteLater();
}

void CUpdateInfoListItemUI::Show(const UpdateRow& row) {
  if (!root_) return;
  const Translator& texts = Translator::Instance();
  const bool busy = row.status == row_status::kDownloading || row.status == row_status::kInstalling;
  const bool grey = row.status == row_status::kLess || row.status == row_status::kUpToDate;
  if (tick_) {
    tick_->setText(QString::fromStdString(row.name));
    // Set without a notification: only the user's clicks tick a row.
    const QSignalBlocker quiet(tick_);
    tick_->setChecked(row.ticked);
    tick_->setEnabled(row.tickable);
  }
  if (current_) current_->setText(QString::fromStdString(row.currentVersionText));
  if (offered_) offered_->setText(QString::fromStdString(row.newVersionText));
  if (status_) {
    QString text = texts.Text(QString::fromLatin1(RowStatusTextKey(row.status)));
    if (!row.reason.empty()) text += QStringLiteral(" (") + QString::fromStdString(row.reason) + ')';
    status_->setText(text);
    status_->setToolTip(QString::fromStdString(row.reason));
  }
  if (progress_) {
    progress_->setVisible(busy);
    progress_->setValue(row.percent);
  }
  if (percent_) {
    percent_->setVisible(busy);
    percent_->setText(QString::asprintf("%d%s", row.percent, "%"));
  }
  if (done_) done_->setVisible(row.status == row_status::kDownloaded);
  if (show_file_) show_file_->setVisible(row.showFile);
  root_->setStyleSheet(grey ? QString::fromLatin1(kGreyStyle) : QString());
}

}  // namespace vorlin
