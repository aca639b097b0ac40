#pragma once

// While the emulated devices stand in for absent real ones, the hidraw nodes are not used at all
// (real and emulated devices never mix, and the emulated ones keep their documents in a folder of
// their own). This watch tells when a node of a supported product appears, openable or not, so
// that the program can start again on the real devices: their own profiles, or the window's
// notice of why they cannot be opened.

#include <chrono>
#include <functional>
#include <memory>

#include <QObject>
#include <QTimer>

class QSocketNotifier;

namespace vorlin {

class HidrawHotplugMonitor;

class RealDeviceWatch : public QObject {
  Q_OBJECT

 public:
  // `present` tells whether a supported node is there now. It is asked on every notice of the
  // udev `monitor`, or every `interval` when there is no monitor (no udev, some sandboxes).
  RealDeviceWatch(std::function<bool()> present, std::unique_ptr<HidrawHotplugMonitor> monitor,
                  std::chrono::milliseconds interval, QObject* parent = nullptr);
  ~RealDeviceWatch() override;

  // The watch for this machine: udev's notices, else a look every two seconds.
  static std::unique_ptr<RealDeviceWatch> ForThisSystem(QObject* parent = nullptr);

 signals:
  // Emitted once; the watch stops looking then.
  void arrived();

 private:
  void Look();

  std::function<bool()> present_;
  std::unique_ptr<HidrawHotplugMonitor> monitor_;
  std::unique_ptr<QSocketNotifier> notifier_;
  QTimer timer_;
  bool done_ = false;
};

}  // namespace vorlin
