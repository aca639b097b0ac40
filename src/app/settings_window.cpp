#include "app/settings_window.h"

#include <QComboBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/language_combo.h"
#include "shell/layout_window.h"
#include "ui/find_control.h"
#include "ui/notify_bridge.h"
#include "ui/translator.h"

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
  box->addStretch(1);
  WireNotifications(dialog.get());
  return dialog;
}

}  // namespace

CSetWnd::CSetWnd(QWidget* owner, LanguageSource languages)
    : owner_(owner),
      languages_(std::move(languages)),
      dialog_(BuildLayoutDialog(QLatin1String(kLayout), BuildBuiltInSettingsWindow)) {
  dialog_->setObjectName(QStringLiteral("setwnd"));
  dialog_->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
  Translator::Instance().SetTextKey(dialog_.get(), QStringLiteral("setwnd_title_text"));
  NotifyBridge::Install(dialog_.get(), this);
}

CSetWnd::~CSetWnd() {
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
  if (!dialog_->isVisible()) PlaceOver(dialog_.get(), owner_);
  dialog_->show();
  dialog_->raise();
  dialog_->activateWindow();
}

void CSetWnd::Close() {
  dialog_->hide();
}

void CSetWnd::Notify(const Notification& notification) {
  const QString name = notification.SenderName();
  if (notification.Is(QString::fromLatin1(notify::kClick)) && name == u"closebtn") {
    Close();
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
