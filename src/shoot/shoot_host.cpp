#include "shoot/shoot_host.h"

#include <QWidget>

#include "shell/message_box.h"
#include "ui/window_scale.h"

namespace vorlin {

void ShowShootNoticeBox(QWidget* owner, const QString& text_key) {
  const int dpi = owner ? WindowDpi(owner->window()) : 96;
  ShowMessageBox(owner, QStringLiteral("tips_text"), text_key, true, dpi, kMessageConfirmOnly);
}

}  // namespace vorlin
