#pragma once

// Suspend and resume: logind's PrepareForSleep signal on the system bus. Without a system bus (or
// without logind) nothing is reported and the program simply never hears of a suspend.

#include <QObject>

namespace vorlin {

class SleepWatch : public QObject {
  Q_OBJECT

 public:
  explicit SleepWatch(QObject* parent = nullptr);
  // Subscribes; false (logged) when the system bus is not there.
  bool Start();

 signals:
  void Suspending();
  void Resumed();

 private slots:
  void OnPrepareForSleep(bool starting);
};

}  // namespace vorlin
