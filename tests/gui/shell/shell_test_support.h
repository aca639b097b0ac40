#pragma once

#include <functional>
#include <memory>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "ui/find_control.h"
#include "ui/skin_manager.h"

namespace vorlin::testing {

inline QString ShellTestSkin() {
  return QStringLiteral(VORLIN_SOURCE_DIR "/tests/gui/shell/skin");
}
inline QString SourceData(const QString& relative) {
  return QStringLiteral(VORLIN_SOURCE_DIR "/data/") + relative;
}

// Runs `act` on the modal window once it is up (the test's own code is blocked in exec() then).
// A window that never shows does not hang the test: after `give_up_ms` every modal window is
// rejected and `act` is not called.
inline void WhenModalShown(std::function<void(QWidget*)> act, int give_up_ms = 5000) {
  auto* timer = new QTimer(qApp);  // deletes itself below
  auto elapsed = std::make_shared<int>(0);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, act, elapsed, give_up_ms] {
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
      timer->stop();
      timer->deleteLater();
      act(modal);
      return;
    }
    *elapsed += timer->interval();
    if (*elapsed >= give_up_ms) {
      timer->stop();
      timer->deleteLater();
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible()) {
          dialog->reject();
        }
      }
    }
  });
  timer->start();
}

// Clicks the control `name` of the modal window once it is up; a window without that control is
// rejected so that the test fails instead of hanging.
inline void ClickWhenShown(const QString& name) {
  WhenModalShown([name](QWidget* modal) {
    if (auto* button = FindControl<QAbstractButton>(modal, name); button && button->isVisible()) {
      button->click();
    } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->done(-1);
    }
  });
}

}  // namespace vorlin::testing
