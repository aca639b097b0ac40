#include "shell/message_box.h"

#include <algorithm>

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "platform/log.h"
#include "shell/layout_window.h"
#include "ui/find_control.h"
#include "ui/notify_bridge.h"
#include "ui/translator.h"
#include "ui/window_scale.h"

namespace vorlin {

namespace {

constexpr char kLayout[] = "XML_MSG";
constexpr int kAllowedDpi[] = {48, 72, 96, 120, 144, 168, 192};

// The message window in code, for a skin without a usable "XML_MSG".
std::unique_ptr<QDialog> BuildBuiltInMessageWindow() {
  auto dialog = std::make_unique<QDialog>();
  dialog->setObjectName(QStringLiteral("msgwnd"));
  dialog->setStyleSheet(QStringLiteral(
      "QDialog { background-color: #16181d; border: 1px solid #343a45; }"
      "QLabel { color: #d8dce3; background: transparent; }"
      "QLabel#MessageTitle { font-weight: 600; color: #ffffff; }"
      "QPushButton { background-color: #262a32; color: #d8dce3; border: 1px solid #343a45;"
      " border-radius: 6px; padding: 6px 16px; }"
      "QPushButton#confirm_btn { background-color: #2f9bff; border-color: #2f9bff;"
      " color: #ffffff; }"
      "QPushButton#closebtn { background: transparent; border: none; padding: 2px 6px; }"));
  auto* box = new QVBoxLayout(dialog.get());
  box->setContentsMargins(18, 14, 18, 16);
  box->setSpacing(12);

  auto* title_row = new QHBoxLayout;
  auto* title = new QLabel(dialog.get());
  title->setObjectName(QStringLiteral("MessageTitle"));
  title->setProperty(kTextKeyProperty, QStringLiteral("tips_text"));
  auto* close = new QPushButton(QStringLiteral("\u2715"), dialog.get());
  close->setObjectName(QStringLiteral("closebtn"));
  title_row->addWidget(title, 1);
  title_row->addWidget(close);
  box->addLayout(title_row);

  auto* text = new QLabel(dialog.get());
  text->setObjectName(QStringLiteral("MessageText"));
  text->setWordWrap(true);
  text->setMinimumWidth(300);
  box->addWidget(text, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  auto* cancel = new QPushButton(dialog.get());
  cancel->setObjectName(QStringLiteral("cancel_btn"));
  cancel->setProperty(kTextKeyProperty, QStringLiteral("cancel_text"));
  auto* confirm = new QPushButton(dialog.get());
  confirm->setObjectName(QStringLiteral("confirm_btn"));
  confirm->setProperty(kTextKeyProperty, QStringLiteral("confirm_text"));
  confirm->setDefault(true);
  buttons->addWidget(cancel);
  buttons->addWidget(confirm);
  box->addLayout(buttons);

  WireNotifications(dialog.get());
  return dialog;
}

}  // namespace

int MessageBoxDpi(int requested) {
  if (std::find(std::begin(kAllowedDpi), std::end(kAllowedDpi), requested) !=
      std::end(kAllowedDpi)) {
    return requested;
  }
  qCWarning(lcVorlin) << "MSG_WND DPI SET ERROR" << requested;
  return 96;
}

CMsgWnd::CMsgWnd(QWidget* owner)
    : owner_(owner), dialog_(BuildLayoutDialog(QLatin1String(kLayout), BuildBuiltInMessageWindow)) {
  dialog_->setObjectName(QStringLiteral("msgwnd"));
  dialog_->setWindowTitle(QStringLiteral("msgwnd"));
  dialog_->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  dialog_->setWindowModality(Qt::ApplicationModal);
  NotifyBridge::Install(dialog_.get(), this);
}

CMsgWnd::~CMsgWnd() {
  // The bridge lives in the dialog; make sure nothing reaches this object while it goes.
  if (NotifyBridge* bridge = NotifyBridge::Of(dialog_.get())) bridge->SetHandler(nullptr);
}

void CMsgWnd::SetMessage(const QString& title_key, const QString& text_key, bool text_is_key) {
  const Translator& translator = Translator::Instance();
  if (!title_key.isEmpty()) {
    translator.SetTextKey(FindControl(dialog_.get(), QStringLiteral("MessageTitle")), title_key);
  }
  if (text_key.isEmpty()) return;
  QWidget* text = FindControl(dialog_.get(), QStringLiteral("MessageText"));
  if (!text) {
    qCWarning(lcVorlin) << "message window has no MessageText";
    return;
  }
  if (text_is_key) {
    translator.SetTextKey(text, text_key);
  } else {
    text->setProperty(kTextKeyProperty, QVariant());  // a later language change keeps this text
    text->setProperty("text", text_key);
  }
}

void CMsgWnd::SetButtons(int buttons) {
  if (QWidget* cancel = FindControl(dialog_.get(), QStringLiteral("cancel_btn"))) {
    cancel->setVisible(buttons == kMessageConfirmCancel);
  }
  if (QWidget* confirm = FindControl(dialog_.get(), QStringLiteral("confirm_btn"))) {
    confirm->setVisible(true);
  }
}

void CMsgWnd::SetDpi(int dpi) {
  ApplyWindowScale(dialog_.get(), MessageBoxDpi(dpi));
}

void CMsgWnd::SetStyle(const MessageStyle& style) {
  const Translator& translator = Translator::Instance();
  translator.SetTextKey(FindControl(dialog_.get(), QStringLiteral("MessageTitle")), style.titleKey);
  auto* confirm = FindControl<QPushButton>(dialog_.get(), QStringLiteral("confirm_btn"));
  auto* cancel = FindControl<QPushButton>(dialog_.get(), QStringLiteral("cancel_btn"));
  if (confirm) translator.SetTextKey(confirm, style.confirmKey);
  if (cancel) translator.SetTextKey(cancel, style.cancelKey);
  if (!style.destructive || !confirm || !cancel) return;
  // Enter must not destroy: the confirming button never becomes the default, not even when it has
  // the focus, and the safe answer has the focus when the window opens.
  confirm->setDefault(false);
  confirm->setAutoDefault(false);
  confirm->setProperty("role", QStringLiteral("danger"));
  confirm->style()->unpolish(confirm);
  confirm->style()->polish(confirm);
  cancel->setDefault(true);
  safe_button_ = cancel;
}

int CMsgWnd::Exec() {
  // A short sentence stays on one line: the text is as wide as it needs up to a reading width,
  // instead of the narrow box a wrapping label asks for.
  if (auto* text = FindControl<QLabel>(dialog_.get(), QStringLiteral("MessageText"))) {
    const double factor = ScaleFactorForDpi(WindowDpi(dialog_.get()));
    int widest = 0;
    for (const QString& line : text->text().split(QLatin1Char('\n'))) {
      widest = std::max(widest, text->fontMetrics().horizontalAdvance(line));
    }
    const int lower = static_cast<int>(280 * factor);
    const int upper = static_cast<int>(480 * factor);
    text->setMinimumWidth(std::clamp(widest + text->margin() * 2 + 4, lower, upper));
  }
  dialog_->adjustSize();
  // The size is bounded by the screen: a narrower box than the text asked for needs more lines,
  // and the box grows down to hold them all.
  if (QLayout* layout = dialog_->layout(); layout && layout->hasHeightForWidth()) {
    dialog_->resize(dialog_->width(),
                    std::max(dialog_->height(), layout->totalHeightForWidth(dialog_->width())));
  }
  if (safe_button_) {
    QMetaObject::invokeMethod(
        safe_button_,
        [button = safe_button_] {
          if (button) button->setFocus();
        },
        Qt::QueuedConnection);
  }
  PlaceOver(dialog_.get(), owner_);
  return dialog_->exec() == 1 ? 1 : 0;
}

void CMsgWnd::Notify(const Notification& notification) {
  if (!notification.Is(QString::fromLatin1(notify::kClick))) return;
  const QString name = notification.SenderName();
  if (name == u"confirm_btn") {
    dialog_->done(1);
  } else if (name == u"cancel_btn" || name == u"closebtn") {
    dialog_->done(0);
  } else if (name == u"minbtn") {
    dialog_->showMinimized();
  } else if (name == u"maxbtn") {
    dialog_->showMaximized();
  } else if (name == u"restorebtn") {
    dialog_->showNormal();
  }
}

int ShowMessageBox(QWidget* owner, const QString& title_key, const QString& text_key,
                   bool text_is_key, int dpi, int buttons) {
  CMsgWnd window(owner);
  window.SetMessage(title_key, text_key, text_is_key);
  window.SetDpi(dpi);
  window.SetButtons(buttons);
  return window.Exec();
}

QString MessageTextAbout(const QString& text_key, const QString& object) {
  const QString text = Translator::Instance().Text(text_key);
  return text.contains(QLatin1String("%1")) ? text.arg(object) : QString();
}

int ShowStyledMessage(QWidget* owner, const QString& text_key, bool question, int dpi,
                      const QString& shown_text) {
  CMsgWnd window(owner);
  window.SetStyle(MessageStyleFor(text_key, question));
  if (shown_text.isEmpty()) {
    window.SetMessage(QString(), text_key, true);
  } else {
    window.SetMessage(QString(), shown_text, false);
  }
  window.SetDpi(dpi);
  window.SetButtons(question ? kMessageConfirmCancel : kMessageConfirmOnly);
  return window.Exec();
}

}  // namespace vorlin
