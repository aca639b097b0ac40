#include "app/sleep_watch.h"

#include <QDBusConnection>

#include "platform/log.h"

namespace vorlin {

SleepWatch::SleepWatch(QObject* parent) : QObject(parent) {}

bool SleepWatch::Start() {
  QDBusConnection bus = QDBusConnection::systemBus();
  if (!bus.isConnected()) {
    qCInfo(lcVorlin) << "no system bus: suspend and resume are not followed";
    return false;
  }
  const bool ok = bus.connect(
      QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
      QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
      SLOT(OnPrepareForSleep(bool)));
  if (!ok) qCInfo(lcVorlin) << "cannot follow logind's PrepareForSleep";
  return ok;
}

void SleepWatch::OnPrepareForSleep(bool starting) {
  if (starting) {
    emit Suspending();
  } else {
    emit Resumed();
  }
}

}  // namespace vorlin
