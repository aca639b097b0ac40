#pragma once

// The devices' side of the session-bus interface: the answers to scripts and `vorlin ctl`
// (shell/device_bus_api.h, docs/dbus.md), over one BusDeviceTarget per product. Every change goes
// the way the page's own controls go (the profile actions of the target, the lighting and the DPI
// handed to the device's client), so a window follows at once and the profile documents are
// saved; a call that writes is answered when the device has reported.
//
// A device's id is its product's data name ("mouse", "keyboard", "MousePad", "HD"; any case).
// The devices listed are the present targets (the ones the window shows in its selector strip).

#include <memory>
#include <string>
#include <vector>

#include <QObject>

#include "app/bus_device_target.h"
#include "devices/device_view.h"
#include "shell/device_bus_api.h"

namespace vorlin {

class DeviceManager;
class ShellBus;

class BusDeviceService : public QObject, public DeviceBusHandler {
  Q_OBJECT

 public:
  // How long a change may wait for the device's report before the caller hears it failed.
  static constexpr int kAnswerTimeoutMs = 10000;

  // `targets` holds one entry per product of `devices` (nullptr where a product has none).
  // `devices` and `bus` must outlive the service; it answers for `bus` and sends its device
  // signals there. Without a bus it only answers (`vorlin ctl` run without the window).
  BusDeviceService(std::vector<std::unique_ptr<BusDeviceTarget>> targets, DeviceManager& devices,
                   ShellBus* bus);
  ~BusDeviceService() override;

  // DeviceBusHandler
  QList<QVariantMap> ListDevices() const override;
  BusAnswer Profiles(const QString& device) const override;
  void ApplyProfile(const QString& device, const QString& profile, BusAnswerFunction done) override;
  BusAnswer Dpi(const QString& device) const override;
  void SetDpiStage(const QString& device, int stage, BusAnswerFunction done) override;
  void SetDpiValue(const QString& device, int stage, int dpi, BusAnswerFunction done) override;
  void SetLighting(const QString& device, int effect, int colour, int brightness, int speed,
                   BusAnswerFunction done) override;
  BusAnswer ExportProfile(const QString& device, const QString& path) override;
  void ImportProfile(const QString& device, const QString& path, BusAnswerFunction done) override;

 private:
  // What the signals last told of one product.
  struct Seen {
    bool present = false;
    std::string profileId;
    int battery = -1;
  };

  // The connected device `device` (the only one when `device` is empty); nullptr with `error`
  // filled when there is none.
  BusDeviceTarget* Find(const QString& device, BusAnswer* error) const;
  // The device's mouse, read; nullptr with `error` filled when it has no DPI stages.
  BusDeviceTarget* FindMouse(const QString& device, BusAnswer* error) const;
  // The mouse when it has DPI stage `stage` (from 1); nullptr with `error` filled if not.
  BusDeviceTarget* FindStage(const QString& device, int stage, BusAnswer* error) const;
  // Answers `done` with `success` once the device reports `action`, or with the failure.
  void AwaitReport(BusDeviceTarget& target, DeviceReport::Action action, BusAnswer success,
                   BusAnswerFunction done);
  BusDeviceTarget* TargetOf(size_t index) const;
  // Compares product `index` with what the signals last told and sends what changed.
  void Update(size_t index, bool notify);
  Seen Observe(size_t index) const;

  std::vector<std::unique_ptr<BusDeviceTarget>> targets_;
  ShellBus* bus_;
  std::vector<Seen> seen_;
};

// The id of a product on the bus and in `vorlin ctl`.
QString BusDeviceId(const BusDeviceTarget& target);
// The battery level the device last reported (percent), or -1 when it has none.
int BusBatteryLevel(const BusDeviceTarget& target);

}  // namespace vorlin
