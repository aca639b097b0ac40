#pragma once

#include <vector>

#include <QByteArray>
#include <QDBusConnection>
#include <QDBusContext>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "shell/device_bus_api.h"
#include "shell/work_tool_block.h"

namespace vorlin {

// The outside programs' game notices, each with two numbers whose meaning the lighting gives.
enum class GameMessage { kStart, kEnd, kKill, kDeath };

// What the session-bus interface asks of the main window. Every call arrives on the UI thread.
class ShellBusHandler {
 public:
  virtual ~ShellBusHandler() = default;
  // Another program asks this one to drive the device lighting (true) or to let go (false).
  virtual void OnLightControlRequest(bool take_over) = 0;
  // An installer reports: 1 finished, 2 failed to start, 3 failed, 4 progress (`value` percent).
  virtual void OnInstallerReport(int code, int value) = 0;
  virtual void OnGameMessage(GameMessage message, int wparam, int lparam) = 0;
  // The device option rows, in table order, for the factory test tool.
  virtual std::vector<WorkToolRow> WorkToolRows() const = 0;
};

// The program's interface on the D-Bus session bus: service "org.vorlin.Vorlin", object "/Vorlin",
// interface "org.vorlin.Vorlin".
//
//   signal LightControlChanged(b controlling)     this program drives the lighting, or let go
//   method RequestLightControl(b take_over)
//   method QueryWorkTool() -> ay                  the 1024-byte block of BuildWorkToolBlock
//   method InstallerReport(i code, i value)
//   method GameStart/GameEnd/GameKill/GameDeath(i wparam, i lparam)
//
// and the devices' members for scripts and `vorlin ctl` (device_bus_api.h; docs/dbus.md):
//
//   property Version u
//   method ListDevices() -> aa{sv} devices
//   method GetProfiles(s device) -> (as names, i current)
//   method ApplyProfile(s device, s profile) -> i index
//   method GetDpi(s device) -> (i current, ai dpi)
//   method SetDpiStage(s device, i stage)
//   method SetDpiValue(s device, i stage, i dpi) -> i kept_dpi
//   method SetLighting(s device, i effect, i colour, i brightness, i speed)
//   method ExportProfile(s device, s path)
//   method ImportProfile(s device, s path) -> (i index, s name)
//   signal DeviceAdded(s device), DeviceRemoved(s device)
//   signal ProfileChanged(s device, i index, s name), BatteryChanged(s device, i percent)
//
// Without a session bus the program runs on and only these messages are lost (logged once).
class ShellBus : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.vorlin.Vorlin")
  Q_PROPERTY(uint Version READ Version)

 public:
  static constexpr char kService[] = "org.vorlin.Vorlin";
  static constexpr char kObjectPath[] = "/Vorlin";
  static constexpr char kInterface[] = "org.vorlin.Vorlin";

  // `handler` must outlive this object (the main window owns both).
  explicit ShellBus(ShellBusHandler* handler, QObject* parent = nullptr);
  ~ShellBus() override;

  // Registers the object and the service name on `connection`. False (logged) when the bus is
  // not there or the object cannot be registered; a taken service name is logged but the object
  // stays reachable through the connection's unique name.
  bool Start(QDBusConnection connection = QDBusConnection::sessionBus());
  bool IsRunning() const { return registered_; }

  // Tells every listener whether this program drives the device lighting.
  void NotifyLightControl(bool controlling);

  // Who answers the device members (`handler` must outlive this object); until one is set they
  // answer NoDevice.
  void SetDeviceHandler(DeviceBusHandler* handler) { devices_ = handler; }
  void NotifyDeviceAdded(const QString& device);
  void NotifyDeviceRemoved(const QString& device);
  void NotifyProfileChanged(const QString& device, int index, const QString& name);
  void NotifyBatteryChanged(const QString& device, int percent);

  uint Version() const { return kDeviceBusVersion; }

 signals:
  Q_SCRIPTABLE void LightControlChanged(bool controlling);
  Q_SCRIPTABLE void DeviceAdded(const QString& device);
  Q_SCRIPTABLE void DeviceRemoved(const QString& device);
  Q_SCRIPTABLE void ProfileChanged(const QString& device, int index, const QString& name);
  Q_SCRIPTABLE void BatteryChanged(const QString& device, int percent);

 public slots:
  Q_SCRIPTABLE void RequestLightControl(bool take_over);
  Q_SCRIPTABLE QByteArray QueryWorkTool();
  Q_SCRIPTABLE void InstallerReport(int code, int value);
  Q_SCRIPTABLE void GameStart(int wparam, int lparam);
  Q_SCRIPTABLE void GameEnd(int wparam, int lparam);
  Q_SCRIPTABLE void GameKill(int wparam, int lparam);
  Q_SCRIPTABLE void GameDeath(int wparam, int lparam);

  // The device members. Each answers through the bus message itself (the out arguments only give
  // the bus their types and names), once the device has answered.
  Q_SCRIPTABLE void ListDevices(QList<QVariantMap>& devices);
  Q_SCRIPTABLE void GetProfiles(const QString& device, QStringList& names, int& current);
  Q_SCRIPTABLE void ApplyProfile(const QString& device, const QString& profile, int& index);
  Q_SCRIPTABLE void GetDpi(const QString& device, int& current, QList<int>& dpi);
  Q_SCRIPTABLE void SetDpiStage(const QString& device, int stage);
  Q_SCRIPTABLE void SetDpiValue(const QString& device, int stage, int dpi, int& kept_dpi);
  Q_SCRIPTABLE void SetLighting(const QString& device, int effect, int colour, int brightness,
                                int speed);
  Q_SCRIPTABLE void ExportProfile(const QString& device, const QString& path);
  Q_SCRIPTABLE void ImportProfile(const QString& device, const QString& path, int& index,
                                  QString& name);

 private:
  // Takes the answer of the call being handled out of the slot: the function sends it (once).
  BusAnswerFunction DelayAnswer();
  // The handler, or an answer NoDevice when there is none yet.
  DeviceBusHandler* DeviceHandler(const BusAnswerFunction& answer) const;

  ShellBusHandler* handler_;
  DeviceBusHandler* devices_ = nullptr;
  QDBusConnection connection_;
  bool registered_ = false;
  bool owns_service_ = false;
};

}  // namespace vorlin
