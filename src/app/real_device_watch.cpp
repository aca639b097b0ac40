#include "app/real_device_watch.h"

#include <QSocketNotifier>

#include "catalogue/extra_product_ids.h"
#include "catalogue/product_catalogue.h"
#include "hid/hotplug_monitor.h"
#include "hid/node_access.h"
#include "platform/log.h"

namespace vorlin {

namespace {
constexpr std::chrono::milliseconds kLookInterval{2000};
}  // namespace

RealDeviceWatch::RealDeviceWatch(std::function<bool()> present,
                                 std::unique_ptr<HidrawHotplugMonitor> monitor,
                                 std::chrono::milliseconds interval, QObject* parent)
    : QObject(parent), present_(std::move(present)), monitor_(std::move(monitor)) {
  if (monitor_) {
    notifier_ = std::make_unique<QSocketNotifier>(monitor_->Fd(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
      if (monitor_->Drain()) Look();
    });
  } else {
    timer_.setInterval(interval);
    connect(&timer_, &QTimer::timeout, this, &RealDeviceWatch::Look);
    timer_.start();
  }
}

RealDeviceWatch::~RealDeviceWatch() = default;

std::unique_ptr<RealDeviceWatch> RealDeviceWatch::ForThisSystem(QObject* parent) {
  return std::make_unique<RealDeviceWatch>(
      [rows = ProgramCatalogue().InterfaceRows()] { return SupportedHidrawNodePresent(rows); },
      HidrawHotplugMonitor::Create(), kLookInterval, parent);
}

void RealDeviceWatch::Look() {
  if (done_ || !present_()) return;
  done_ = true;
  timer_.stop();
  if (notifier_) notifier_->setEnabled(false);
  qCInfo(lcVorlin) << "a supported device has been plugged in";
  emit arrived();
}

}  // namespace vorlin
