#include "app/update_page.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDate>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QStackedWidget>

#include "app/update_list_item.h"
#include "online/installer.h"
#include "platform/log.h"
#include "ui/find_control.h"
#include "ui/translator.h"

namespace vorlin {

CUpdatePage::CUpdatePage(QWidget* window, UpdatePageServices services)
    : window_(window), services_(std::move(services)) {}

CUpdatePage::~CUpdatePage() {
  Stop();
}

CUpdateInfoListItemUI* CUpdatePage::Row(size_t index) const {
  return index < items_.size() ? items_[index].get() : nullptr;
}

void CUpdatePage::Open() {
  if (session_) return;
  const QDate today = QDate::currentDate();
  last_check_date_ = ReadOrStampUpdateTime(services_.updateTimePath,
                                           DateText(today.year(), today.month(), today.day()));
  const UpdateServer server = services_.server ? services_.server() : UpdateServer{};
  server_error_ = server.error;
  UpdateSessionOptions options;
  options.apiBaseUrl = server.apiBaseUrl;
  options.serverError = server.error;
  options.http = server.http;
  options.downloadFolder = UpdateDownloadFolder();
  options.targets = services_.targets;
  items_.clear();
  files_.clear();
  window_status_ = -1;
  start_failures_seen_ = 0;
  ShowTab(0);
  // Workers report from their threads; the page looks at the rows once per turn of the event loop.
  QPointer<CUpdatePage> self(this);
  session_ = std::make_unique<UpdateSession>(std::move(options), [self] {
    QMetaObject::invokeMethod(
        self.data(),
        [self] {
          if (self) self->Refresh();
        },
        Qt::QueuedConnection);
  });
  ShowWindowStatus(window_status::kAsking);
  session_->Start();
}

bool CUpdatePage::TryClose() {
  if (session_ && !session_->CanClose()) return false;
  Stop();
  return true;
}

void CUpdatePage::Stop() {
  if (!session_) return;
  session_->Stop();
  session_.reset();
}

void CUpdatePage::OnInstallerReport(int code, int value) {
  if (session_) session_->OnInstallerReport(code, value);
}

void CUpdatePage::ShowTab(int page) {
  if (auto* tabs = FindControl<QStackedWidget>(window_, QStringLiteral("get_update_tab_layout"))) {
    tabs->setCurrentIndex(page);
  }
}

bool CUpdatePage::Notify(const Notification& notification) {
  const QString name = notification.SenderName();
  if (!notification.Is(QString::fromLatin1(notify::kClick))) return false;
  if (name == u"check_name_select") {
    const auto* box = qobject_cast<QCheckBox*>(notification.sender);
    const QVariant row = box ? box->property(CUpdateInfoListItemUI::kRowProperty) : QVariant();
    if (session_ && row.isValid()) session_->SetTicked(row.toUInt(), box->isChecked());
    Refresh();
  } else if (name == u"update_fw_and_ap") {
    ShowTab(1);
  } else if (name == u"update_OK_btn") {
    if (session_) session_->BeginUpdate();
    ShowTab(0);
    Refresh();
  } else if (name == u"laterbtn") {
    ShowTab(0);
    if (services_.close) services_.close();
  } else if (name == u"update_show_file") {
    const QVariant row = notification.sender
                             ? notification.sender->property(CUpdateInfoListItemUI::kRowProperty)
                             : QVariant();
    std::string error;
    if (row.isValid() && row.toUInt() < files_.size() &&
        !ShowInFolder(files_[row.toUInt()], &error)) {
      qCWarning(lcVorlin).noquote() << QString::fromStdString(error);
    }
  } else {
    return false;
  }
  return true;
}

void CUpdatePage::Refresh() {
  if (!session_) return;
  const std::vector<UpdateRow> rows = session_->Rows();
  auto* list = FindControl(window_, QStringLiteral("update_list"));
  if (list && items_.size() != rows.size()) {
    items_.clear();
    for (size_t index = 0; index < rows.size(); ++index) {
      items_.push_back(std::make_unique<CUpdateInfoListItemUI>(list, static_cast<int>(index)));
    }
  }
  files_.clear();
  for (size_t index = 0; index < rows.size(); ++index) {
    if (index < items_.size()) items_[index]->Show(rows[index]);
    files_.push_back(rows[index].localFile);
  }
  bool can_start = false;
  for (const UpdateRow& row : rows) {
    can_start = can_start || (row.ticked && RowIsTickable(row.status));
  }
  if (auto* start = FindControl<QAbstractButton>(window_, QStringLiteral("update_fw_and_ap"))) {
    start->setEnabled(can_start);
  }
  ShowWindowStatus(session_->WindowStatus());
  const int failures = session_->StartFailures();
  if (failures > start_failures_seen_) {
    start_failures_seen_ = failures;
    // Not modal: the other downloads and installers go on while the user reads it.
    const Translator& texts = Translator::Instance();
    auto* box = new QMessageBox(
        QMessageBox::Critical, texts.Text(QStringLiteral("msg_title_error")),
        texts.Text(QStringLiteral("update_start_failed_text")), QMessageBox::Ok, window_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
  }
}

void CUpdatePage::ShowWindowStatus(int status) {
  const Translator& texts = Translator::Instance();
  QString text = texts.Text(QString::fromLatin1(WindowStatusTextKey(status)));
  if (status == window_status::kUpToDate) {
    text += QStringLiteral(" ") + QString::fromStdString(last_check_date_);
  } else if (status == window_status::kNoServer && !server_error_.empty()) {
    text = texts.Text(QStringLiteral("UpdateNoServerText"));
  }
  if (auto* label = FindControl<QLabel>(window_, QStringLiteral("Update_Status_text"))) {
    label->setText(text);
  }
  const bool asking = status == window_status::kAsking || status == window_status::kUpdating;
  if (QWidget* ring = FindControl(window_, QStringLiteral("update_status_ring"))) {
    ring->setVisible(asking);
  }
  if (QWidget* image = FindControl(window_, QStringLiteral("update_status_image"))) {
    image->setVisible(!asking);
  }
  if (status == window_status_) return;
  window_status_ = status;
  if (services_.statusChanged) services_.statusChanged(status);
}

}  // namespace vorlin
