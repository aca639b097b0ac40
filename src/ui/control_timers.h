#pragma once

class QWidget;

namespace vorlin {

// Per-control timers. A timer belongs to its control: it repeats every `ms` milliseconds and
// raises a "timer" notification from the control with the timer's id, until killed or until the
// control is destroyed. Setting an id that already runs restarts it with the new interval.
void SetTimer(QWidget* control, int id, int ms);
void KillTimer(QWidget* control, int id);
void KillAllTimers(QWidget* control);
bool IsTimerActive(const QWidget* control, int id);

}  // namespace vorlin
