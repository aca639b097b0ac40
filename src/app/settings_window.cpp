#include "app/settings_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "shell/language_combo.h"
#include "shell/layout_window.h"
#include "ui/find_control.h"
#include "platform/log.h"
#include "ui/notify_bridge.h"
#include "ui/translator.h"
#include "ui/window_scale.h"

namespace vorlin {

namespace {

constexpr char kLayout[] = "setwnd.xml";
constexpr char kLanguageList[] = "Language_combox_info";

// The window without its layout: the same controls, so that the language stays choosable with a
// damaged skin.
std::unique_ptr<QDialog> BuildBuiltInSettingsWindow() {
  auto dialog = std::make_unique<QDialog>();
  dialog->resize(420, 220);
  auto* box = new QVBoxLayout(dialog.get());
  auto* top = new QHBoxLayout;
  top->addStretch(1);
  auto* close = new QPushButton(QStringLiteral("\u2715"), dialog.get());
  close->setObjectName(QStringLiteral("closebtn"));
  top->addWidget(close);
  box->addLayout(top);
  auto* combo = new QComboBox(dialog.get());
  combo->setObjectName(QLatin1String(kLanguageList));
  box->addWidget(combo);
  // The update page's controls, plainly laid out.
  auto* status = new QLabel(dialog.get());
  status->setObjectName(QStringLiteral("Update_Status_text"));
  box->addWidget(status);
  auto* tabs = new QStackedWidget(dialog.get());
  tabs->setObjectName(QStringLiteral("get_update_tab_layout"));
  auto* list_page = new QWidget(tabs);
  auto* list_box = new QVBoxLayout(list_page);
  auto* list = new QWidget(list_page);
  list->setObjectName(QStringLiteral("update_list"));
  new QVBoxLayout(list);
  list_box->addWidget(list);
  auto* start = new QPushButton(QStringLiteral("Update"), list_page);
  start->setObjectName(QStringLiteral("update_fw_and_ap"));
  list_box->addWidget(start);
  tabs->addWidget(list_page);
  auto* confirm_page = new QWidget(tabs);
  auto* confirm_box = new QHBoxLayout(confirm_page);
  for (const char* name : {"laterbtn", "update_OK_btn"}) {
    auto* button = new QPushButton(QString::fromLatin1(name), confirm_page);
    button->setObjectName(QLatin1String(name));
    confirm_box->addWidget(button);
  }
  tabs->addWidget(confirm_page);
  box->addWidget(tabs);
  box->addStretch(1);
  WireNotifications(dialog.get());
  return dialog;
}

}  // namespace

CSetWnd::CSetWnd(QWidget* owner, LanguageSource languages,
                 std::optional<UpdatePageServices> updates)
    : owner_(owner),
      languages_(std::move(languages)),
      dialog_(BuildLayoutDialog(QLatin1String(kLayout), BuildBuiltInSettingsWindow)) {
  dialog_->setObjectName(QStringLiteral("setwnd"));
  dialog_->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
  Translator::Instance().SetTextKey(dialog_.get(), QStringLiteral("setwnd_title_text"));
  NotifyBridge::Install(dialog_.get(), this);
  dialog_->installEventFilter(this);
  if (updates) {
    if (!updates->close) updates->close = [this] { Close(); };
    update_page_ = std::make_unique<CUpdatePage>(dialog_.get(), std::move(*updates));
  }
}

CSetWnd::~CSetWnd() {
  update_page_.reset();
  if (NotifyBridge* bridge = NotifyBridge::Of(dialog_.get())) bridge->SetHandler(nullptr);
}

QComboBox* CSetWnd::LanguageList() const {
  return FindControl<QComboBox>(dialog_.get(), QLatin1String(kLanguageList));
}

void CSetWnd::Show() {
  if (QComboBox* combo = LanguageList()) {
    FillLanguageCombo(combo, languages_.entries ? languages_.entries() : DefaultLanguageList(),
                      languages_.current ? languages_.current() : -1);
  }
  if (!dialog_->isVisible()) {
    // The window takes the main window's scale, as the main window's own controls do.
    const int dpi = WindowDpi(owner_ ? owner_->window() : nullptr);
    if (WindowDpi(dialog_.get()) != dpi) ApplyWindowScale(dialog_.get(), dpi);
    PlaceOver(dialog_.get(), owner_);
  }
  if (update_page_) update_page_->Open();
  dialog_->show();
  dialog_->raise();
  dialog_->activateWindow();
}

bool CSetWnd::Close() {
  if (update_page_ && !update_page_->TryClose()) {
    qCInfo(lcVorlin) << "the settings window stays open: an update is on its way";
    return false;
  }
  dialog_->hide();
  return true;
}

void CSetWnd::ForceClose() {
  if (update_page_) update_page_->Stop();
  dialog_->hide();
}

void CSetWnd::OnInstallerReport(int code, int value) {
  if (update_page_) update_page_->OnInstallerReport(code, value);
}

bool CSetWnd::eventFilter(QObject* watched, QEvent* event) {
  if (watched == dialog_.get()) {
    if (event->type() == QEvent::Close && update_page_ && !update_page_->TryClose()) {
      event->ignore();
      return true;
    }
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
      Close();
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

void CSetWnd::Notify(const Notification& notification) {
  if (update_page_ && update_page_->Notify(notification)) return;
  const QString name = notification.SenderName();
  if (notification.Is(QString::fromLatin1(notify::kClick)) && name == u"closebtn") {
    Close();
  } else if (notification.Is(QString::fromLatin1(notify::kClick)) && name == u"setwnd_about_btn") {
    if (open_about_) open_about_(dialog_.get());
  } else if (notification.Is(QString::fromLatin1(notify::kItemSelect)) &&
             name == QLatin1String(kLanguageList)) {
    const QComboBox* combo = LanguageList();
    if (!combo || combo->currentIndex() < 0 || !languages_.choose) return;
    languages_.choose(combo->currentIndex());
    // A language that could not be applied leaves the list on the one still in use.
    if (languages_.current && languages_.current() != combo->currentIndex()) {
      FillLanguageCombo(LanguageList(), languages_.entries(), languages_.current());
    }
  }
}

}  // namespace vorlin
