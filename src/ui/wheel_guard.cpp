#include "ui/wheel_guard.h"

#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QScrollBar>
#include <QWidget>

namespace vorlin {

WheelGuard::WheelGuard(QObject* application) {
  application->installEventFilter(this);
}

bool WheelGuard::TakesWheel(const QObject* widget) {
  if (qobject_cast<const QScrollBar*>(widget)) return false;  // scrolling is what it is for
  return qobject_cast<const QComboBox*>(widget) || qobject_cast<const QAbstractSlider*>(widget) ||
         qobject_cast<const QAbstractSpinBox*>(widget);
}

bool WheelGuard::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Polish && TakesWheel(watched)) {
    // The wheel alone never gives such a control the focus (it would then take the next notch).
    auto* control = static_cast<QWidget*>(watched);
    if (control->focusPolicy() == Qt::WheelFocus) control->setFocusPolicy(Qt::StrongFocus);
    return false;
  }
  if (event->type() != QEvent::Wheel || !TakesWheel(watched)) return false;
  auto* control = static_cast<QWidget*>(watched);
  if (control->hasFocus()) return false;
  // The page around the control scrolls instead: the parents are offered the event in turn until
  // one takes it (Qt does not pass a wheel event it was handed on to the parents itself).
  for (QWidget* parent = control->parentWidget(); parent; parent = parent->parentWidget()) {
    event->accept();
    QCoreApplication::sendEvent(parent, event);
    if (event->isAccepted() || parent->isWindow()) break;
  }
  return true;
}

}  // namespace vorlin
