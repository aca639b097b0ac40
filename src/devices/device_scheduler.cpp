#include "devices/device_scheduler.h"

#include "platform/log.h"

namespace vorlin {

DeviceScheduler::DeviceScheduler(ScheduledDevice& device, QObject* parent)
    : QObject(parent),
      device_(device),
      start_up_(new QTimer(this)),
      resync_(new QTimer(this)),
      status_(new QTimer(this)),
      link_watch_(new QTimer(this)) {
  for (QTimer* timer : {start_up_, resync_, status_, link_watch_}) {
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
  }
  connect(start_up_, &QTimer::timeout, this, &DeviceScheduler::OnStartUp);
  connect(resync_, &QTimer::timeout, this, [this] { device_.ResyncFromDevice(); });
  connect(status_, &QTimer::timeout, this, &DeviceScheduler::OnStatus);
  connect(link_watch_, &QTimer::timeout, this, &DeviceScheduler::OnLinkWatch);
}

QTimer* DeviceScheduler::TimerOf(TimerId id) const {
  switch (id) {
    case kStartUp:
      return start_up_;
    case kResync:
      return resync_;
    case kStatus:
      return status_;
    case kLinkWatch:
      break;
  }
  return link_watch_;
}

void DeviceScheduler::Start(TimerId id, int delayMs) {
  TimerOf(id)->start(delayMs);
}

void DeviceScheduler::Kill(TimerId id) {
  TimerOf(id)->stop();
}

bool DeviceScheduler::Pending(TimerId id) const {
  return TimerOf(id)->isActive();
}

void DeviceScheduler::KillAll() {
  for (QTimer* timer : {start_up_, resync_, status_, link_watch_}) timer->stop();
}

void DeviceScheduler::OnStartUp() {
  Kill(kStartUp);  // a handler run by hand counts as the firing
  if (device_.OnReceiver() && device_.LinkOpen()) {
    if (!device_.ProbeLink()) {
      // The device behind the receiver is off or out of reach: no option until it answers.
      if (device_.OptionShown()) device_.RequestOption(false);
      Start(kStartUp, kStartUpRetryMs);
      return;
    }
    device_.RequestOption(true);
  }
  device_.ReadDeviceState();
  const bool open = device_.LinkOpen();
  if (device_.HasStatusPanel() && open) Start(kStatus, kStatusFirstMs);
  if (device_.OnReceiver() && open) Start(kLinkWatch, kLinkWatchFirstMs);
}

void DeviceScheduler::OnStatus() {
  Kill(kStatus);  // a handler run by hand counts as the firing
  device_.PollStatus();
  if (device_.HasStatusPanel() && device_.LinkOpen()) Start(kStatus, kStatusPeriodMs);
}

void DeviceScheduler::OnLinkWatch() {
  Kill(kLinkWatch);  // a handler run by hand counts as the firing
  if (!device_.OnReceiver() || !device_.LinkOpen()) return;
  if (device_.ProbeLink()) {
    if (!device_.OptionShown()) {
      device_.RequestOption(true);
      if (device_.HasStatusPanel()) device_.PollStatus();
      qCDebug(lcVorlin) << "the device answers through its receiver again";
    }
  } else if (device_.OptionShown()) {
    device_.RequestOption(false);
    qCDebug(lcVorlin) << "the device stopped answering through its receiver";
  }
  Start(kLinkWatch, kLinkWatchPeriodMs);
}

}  // namespace vorlin
