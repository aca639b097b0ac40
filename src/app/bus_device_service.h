#pragma once

// The devices' side of the session-bus interface: the running program's answers to scripts and
// `vorlin ctl` (shell/device_bus_api.h, docs/dbus.md). Every change goes the way the page's own
// controls go (the profile bar's switch and import, the lighting panel's and the settings
// panel's changes handed to the page's DeviceClient), so the window follows at once and the
// profile documents are saved; a call that writes is answered when the device has reported.
//
// A device's id is its product's data name ("mouse", "keyboard", "MousePad", "HD"; any case).
// The devices listed are the ones the window shows in its selector strip.

#include <string>
#include <vector>

#include <QObject>

#include "devices/device_view.h"
#include "shell/device_bus_api.h"

namespace vorlin {

class CMainWnd;
class DevicePage;
class ShellBus;

class BusDeviceService : public QObject, public DeviceBusHandler {
  Q_OBJECT

 public:
  // How long a change may wait for the device's report before the caller hears it failed.
  static constexpr int kAnswerTimeoutMs = 10000;

  // `window` (after it made its devices) and `bus` must outlive the service; it answers for
  // `bus` and sends its device signals.
  BusDeviceService(CMainWnd& window, ShellBus& bus);
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

  // The page of the connected device `device` (the only one when `device` is empty); nullptr
  // with `error` filled when there is none.
  DevicePage* Find(const QString& device, BusAnswer* error) const;
  // The page's mouse, read; nullptr with `error` filled when it has no DPI stages.
  DevicePage* FindMouse(const QString& device, BusAnswer* error) const;
  // The mouse's page when it has DPI stage `stage` (from 1); nullptr with `error` filled if not.
  DevicePage* FindStage(const QString& device, int stage, BusAnswer* error) const;
  // Answers `done` with `success` once the page's device reports `action`, or with the failure.
  void AwaitReport(DevicePage& page, DeviceReport::Action action, BusAnswer success,
                   BusAnswerFunction done);
  // Compares product `index` with what the signals last told and sends what changed.
  void Update(size_t index, bool notify);
  Seen Observe(size_t index) const;

  CMainWnd& window_;
  ShellBus& bus_;
  std::vector<Seen> seen_;
};

// The id of a product on the bus and in `vorlin ctl`.
QString BusDeviceId(const DevicePage& page);
// The battery level a page's device last reported (percent), or -1 when it has none.
int BusBatteryLevel(const DevicePage& page);

}  // namespace vorlin
