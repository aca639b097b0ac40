#include "shell/skin_window.h"

#include <QFileDialog>
#include <QPalette>
#include <QStackedWidget>
#include <QWidget>

#include "platform/log.h"
#include "shell/skin_observer.h"
#include "shell/skin_settings.h"
#include "ui/controls.h"
#include "ui/find_control.h"
#include "ui/layout_loader.h"
#include "ui/notify_bridge.h"

namespace vorlin {

namespace {

constexpr char kLayout[] = "skin.xml";

}  // namespace

QPoint SkinWindowPosition(const QRect& button, const QSize& window_size) {
  // QRect::right() is the last pixel column, so the edges line up at right() + 1.
  return {button.right() + 1 - window_size.width(), button.bottom() + 1};
}

bool ParseSkinColor(const QString& text, uint32_t* color) {
  QString digits = text.trimmed();
  if (digits.startsWith(QLatin1Char('#'))) {
    digits.remove(0, 1);
  } else if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
    digits.remove(0, 2);
  } else {
    return false;
  }
  if (digits.size() != 6 && digits.size() != 8) return false;
  bool ok = false;
  uint32_t value = digits.toUInt(&ok, 16);
  if (!ok) return false;
  if (digits.size() == 6) value |= 0xFF000000u;
  *color = value;
  return true;
}

uint32_t SkinButtonColor(const QWidget* button) {
  uint32_t color = 0;
  if (button && ParseSkinColor(button->property("bkcolor").toString(), &color)) return color;
  return button ? button->palette().color(QPalette::Button).rgba() : 0;
}

QString ChooseSkinPicture(QWidget* parent) {
  QFileDialog dialog(parent);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters({QStringLiteral("(*.png) (*.png)"), QStringLiteral("(*.*) (*)")});
  dialog.setDefaultSuffix(QStringLiteral("png"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

CSkinWnd::CSkinWnd(SkinObserver* observer, QString settings_path)
    : observer_(observer),
      settings_path_(std::move(settings_path)),
      choose_file_(ChooseSkinPicture) {}

CSkinWnd::~CSkinWnd() {
  if (window_) {
    if (NotifyBridge* bridge = NotifyBridge::Of(window_.get())) bridge->SetHandler(nullptr);
  }
}

bool CSkinWnd::Create() {
  if (window_) return true;
  window_ = LoadWindow(QLatin1String(kLayout));
  if (!window_) {
    qCWarning(lcVorlin) << "the skin window cannot be built without" << kLayout;
    return false;
  }
  window_->setObjectName(QStringLiteral("skinframe"));
  // A drop-down like a menu: above its own window only while it is open, closed by Escape and by
  // a click anywhere outside it. The click that closes it goes no further, so a click on the skin
  // button closes it instead of opening it again at once.
  window_->setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
  window_->setAttribute(Qt::WA_NoMouseReplay);
  NotifyBridge::Install(window_.get(), this);
  return true;
}

void CSkinWnd::ShowBelow(const QWidget* skin_button) {
  if (!Create()) return;
  if (skin_button) {
    const QRect button(skin_button->mapToGlobal(QPoint(0, 0)), skin_button->size());
    window_->move(SkinWindowPosition(button, window_->size()));
  }
  window_->show();
}

void CSkinWnd::Close() {
  if (window_) window_->hide();
}

void CSkinWnd::Toggle(const QWidget* skin_button) {
  if (IsOpen()) {
    Close();
  } else {
    ShowBelow(skin_button);
  }
}

bool CSkinWnd::IsOpen() const {
  return window_ && window_->isVisible();
}

void CSkinWnd::Send(bool is_color, uint32_t color, const QString& image) const {
  if (observer_) observer_->Notify({is_color, color, image});
}

void CSkinWnd::Notify(const Notification& notification) {
  if (!notification.Is(QString::fromLatin1(notify::kClick))) return;
  const QString name = notification.SenderName();
  if (name == u"skin_image_btn") {
    const QString image = UserData(notification.sender);
    if (image.isEmpty()) return;
    Send(false, 0, image);
    WriteSkinImageSetting(settings_path_, {true, image});
  } else if (name == u"skin_color_btn") {
    Send(true, SkinButtonColor(notification.sender), QString());
  } else if (name == u"skin_image" || name == u"skin_color") {
    SelectTab(FindControl<QStackedWidget>(window_.get(), QStringLiteral("skin_tab")),
              name == u"skin_image" ? 0 : 1);
  } else if (name == u"skin_reset") {
    const SkinImageSetting reset = DefaultSkinImageSetting();
    Send(false, 0, reset.image);
    WriteSkinImageSetting(settings_path_, reset);
  } else if (name == u"skin_Custom") {
    // The drop-down closes first: the file dialog is a window of its own, and a pop-up would
    // take its clicks.
    Close();
    const QString file = choose_file_ ? choose_file_(window_->parentWidget()) : QString();
    if (!file.isEmpty()) Send(false, 0, file);
  }
}

}  // namespace vorlin
