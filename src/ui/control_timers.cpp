#include "ui/control_timers.h"

#include <QTimer>
#include <QWidget>

#include "ui/notify_bridge.h"

namespace vorlin {

namespace {

constexpr char kTimerIdProperty[] = "vorlin_timer_id";

QTimer* FindTimer(const QWidget* control, int id) {
  for (QTimer* timer : control->findChildren<QTimer*>(Qt::FindDirectChildrenOnly)) {
    const QVariant v = timer->property(kTimerIdProperty);
    if (v.isValid() && v.toInt() == id) return timer;
  }
  return nullptr;
}

}  // namespace

void SetTimer(QWidget* control, int id, int ms) {
  if (!control) return;
  QTimer* timer = FindTimer(control, id);
  if (!timer) {
    timer = new QTimer(control);  // owned by the control
    timer->setProperty(kTimerIdProperty, id);
    QObject::connect(timer, &QTimer::timeout, control,
                     [control, id] { SendNotification(control, notify::kTimer, id); });
  }
  timer->start(ms < 0 ? 0 : ms);
}

void KillTimer(QWidget* control, int id) {
  if (!control) return;
  if (QTimer* timer = FindTimer(control, id)) {
    timer->stop();
    timer->deleteLater();
    timer->setProperty(kTimerIdProperty, QVariant());
  }
}

void KillAllTimers(QWidget* control) {
  if (!control) return;
  for (QTimer* timer : control->findChildren<QTimer*>(Qt::FindDirectChildrenOnly)) {
    if (!timer->property(kTimerIdProperty).isValid()) continue;
    timer->stop();
    timer->setProperty(kTimerIdProperty, QVariant());
    timer->deleteLater();
  }
}

bool IsTimerActive(const QWidget* control, int id) {
  const QTimer* timer = control ? FindTimer(control, id) : nullptr;
  return timer && timer->isActive();
}

}  // namespace vorlin
