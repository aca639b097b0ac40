#include "shell/about_window.h"

#include <QDesktopServices>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "shell/app_identity.h"
#include "shell/layout_window.h"
#include "ui/find_control.h"
#include "ui/notify_bridge.h"
#include "ui/translator.h"
#include "ui/window_scale.h"

namespace vorlin {

namespace {

constexpr char kLayout[] = "AboutWnd.xml";
constexpr int kWidth = 800;
constexpr int kHeight = 572;

std::unique_ptr<QDialog> BuildBuiltInAboutWindow() {
  auto dialog = std::make_unique<QDialog>();
  dialog->setStyleSheet(QStringLiteral(
      "QDialog { background-color: #16181d; border: 1px solid #343a45; }"
      "QLabel { color: #d8dce3; background: transparent; }"
      "QLabel#about_title { font-size: 22px; font-weight: 600; color: #ffffff; }"
      "QPushButton#closebtn { background: transparent; color: #d8dce3; border: none; }"));
  auto* box = new QVBoxLayout(dialog.get());
  box->setContentsMargins(24, 16, 24, 24);
  auto* top = new QHBoxLayout;
  top->addStretch(1);
  auto* close = new QPushButton(QStringLiteral("\u2715"), dialog.get());
  close->setObjectName(QStringLiteral("closebtn"));
  top->addWidget(close);
  box->addLayout(top);
  box->addStretch(1);
  auto* title = new QLabel(dialog.get());
  Translator::Instance().SetTextKey(title, QStringLiteral("about_title_text"));
  title->setObjectName(QStringLiteral("about_title"));
  title->setAlignment(Qt::AlignCenter);
  box->addWidget(title);
  auto* version = new QLabel(dialog.get());
  version->setObjectName(QStringLiteral("software_ver_label"));
  version->setAlignment(Qt::AlignCenter);
  box->addWidget(version);
  box->addStretch(2);
  WireNotifications(dialog.get());
  return dialog;
}

}  // namespace

QString AboutVersionText(const QString& translated_label, const QString& version) {
  return translated_label + QStringLiteral("V") + version;
}

CAboutWnd::CAboutWnd(QWidget* owner, const QUrl& homepage)
    : owner_(owner),
      dialog_(BuildLayoutDialog(QLatin1String(kLayout), BuildBuiltInAboutWindow)),
      homepage_(homepage) {
  // A link that leads nowhere is worse than none.
  if (QWidget* link = FindControl(dialog_.get(), QStringLiteral("homepage_btn"))) {
    link->setVisible(IsUsableHomepage(homepage_));
  }
  dialog_->setObjectName(QStringLiteral("aboutwnd"));
  dialog_->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  Translator::Instance().SetTextKey(dialog_.get(), QStringLiteral("about_title_text"));
  dialog_->setWindowModality(Qt::ApplicationModal);
  dialog_->setFixedSize(kWidth, kHeight);
  // The window takes the main window's scale, as the main window's own controls do.
  ApplyWindowScale(dialog_.get(), WindowDpi(owner_ ? owner_->window() : nullptr));
  NotifyBridge::Install(dialog_.get(), this);
  UpdateVersionText();
  connect(&Translator::Instance(), &Translator::LanguageChanged, this,
          &CAboutWnd::UpdateVersionText);
}

CAboutWnd::~CAboutWnd() {
  if (NotifyBridge* bridge = NotifyBridge::Of(dialog_.get())) bridge->SetHandler(nullptr);
}

void CAboutWnd::UpdateVersionText() {
  QWidget* label = FindControl(dialog_.get(), QStringLiteral("software_ver_label"));
  if (!label) return;
  // The label's text is composed, not a key of its own: drop any key the layout gave it so the
  // translator does not overwrite the version.
  label->setProperty(kTextKeyProperty, QVariant());
  label->setProperty(
      "text", AboutVersionText(Translator::Instance().Text(QStringLiteral("software_rev_text")),
                               QString::fromLatin1(AppVersion())));
}

void CAboutWnd::Exec() {
  PlaceOver(dialog_.get(), owner_);
  dialog_->exec();
}

void CAboutWnd::Close() {
  dialog_->done(0);
}

void CAboutWnd::Notify(const Notification& notification) {
  if (!notification.Is(QString::fromLatin1(notify::kClick))) return;
  if (notification.SenderName() == u"closebtn") {
    dialog_->done(0);
  } else if (notification.SenderName() == u"homepage_btn" && IsUsableHomepage(homepage_)) {
    QDesktopServices::openUrl(homepage_);
  }
}

}  // namespace vorlin
