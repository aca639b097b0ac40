#include "shell/shell_bus.h"

#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>

#include <memory>

#include "platform/log.h"

namespace vorlin {

ShellBus::ShellBus(ShellBusHandler* handler, QObject* parent)
    : QObject(parent), handler_(handler), connection_(QString()) {
  // The device list travels as aa{sv}.
  qDBusRegisterMetaType<QList<QVariantMap>>();
}

ShellBus::~ShellBus() {
  if (!registered_) return;
  connection_.unregisterObject(QLatin1String(kObjectPath));
  if (owns_service_) connection_.unregisterService(QLatin1String(kService));
}

bool ShellBus::Start(QDBusConnection connection) {
  if (registered_) return true;
  if (!connection.isConnected()) {
    qCInfo(lcVorlin) << "no D-Bus session bus (" << connection.lastError().message()
                     << "): light-control, work-tool, installer and game messages are off";
    return false;
  }
  connection_ = connection;
  if (!connection_.registerObject(QLatin1String(kObjectPath), this,
                                  QDBusConnection::ExportScriptableSlots |
                                      QDBusConnection::ExportScriptableSignals |
                                      QDBusConnection::ExportScriptableProperties)) {
    qCWarning(lcVorlin) << "cannot register" << kObjectPath
                        << "on the session bus:" << connection_.lastError().message();
    return false;
  }
  registered_ = true;
  owns_service_ = connection_.registerService(QLatin1String(kService));
  if (!owns_service_) {
    qCWarning(lcVorlin) << "the bus name" << kService
                        << "is taken:" << connection_.lastError().message();
  }
  return true;
}

void ShellBus::NotifyLightControl(bool controlling) {
  if (registered_) emit LightControlChanged(controlling);
}

void ShellBus::RequestLightControl(bool take_over) {
  qCInfo(lcVorlin) << "light-control request from the bus:" << take_over;
  if (handler_) handler_->OnLightControlRequest(take_over);
}

QByteArray ShellBus::QueryWorkTool() {
  if (!handler_) return BuildWorkToolBlock({});
  const std::vector<WorkToolRow> rows = handler_->WorkToolRows();
  return BuildWorkToolBlock(rows);
}

void ShellBus::InstallerReport(int code, int value) {
  if (handler_) handler_->OnInstallerReport(code, value);
}

void ShellBus::GameStart(int wparam, int lparam) {
  if (handler_) handler_->OnGameMessage(GameMessage::kStart, wparam, lparam);
}

void ShellBus::GameEnd(int wparam, int lparam) {
  if (handler_) handler_->OnGameMessage(GameMessage::kEnd, wparam, lparam);
}

void ShellBus::GameKill(int wparam, int lparam) {
  if (handler_) handler_->OnGameMessage(GameMessage::kKill, wparam, lparam);
}

void ShellBus::GameDeath(int wparam, int lparam) {
  if (handler_) handler_->OnGameMessage(GameMessage::kDeath, wparam, lparam);
}

void ShellBus::NotifyDeviceAdded(const QString& device) {
  if (registered_) emit DeviceAdded(device);
}

void ShellBus::NotifyDeviceRemoved(const QString& device) {
  if (registered_) emit DeviceRemoved(device);
}

void ShellBus::NotifyProfileChanged(const QString& device, int index, const QString& name) {
  if (registered_) emit ProfileChanged(device, index, name);
}

void ShellBus::NotifyBatteryChanged(const QString& device, int percent) {
  if (registered_) emit BatteryChanged(device, percent);
}

// ---- The device members ----

BusAnswerFunction ShellBus::DelayAnswer() {
  if (!calledFromDBus()) return [](const BusAnswer&) {};
  setDelayedReply(true);
  auto sent = std::make_shared<bool>(false);
  return [call = message(), connection = connection(), sent](const BusAnswer& answer) {
    if (std::exchange(*sent, true)) return;
    QDBusConnection bus = connection;
    bus.send(answer.ok() ? call.createReply(answer.values)
                         : call.createErrorReply(answer.error, answer.message));
  };
}

DeviceBusHandler* ShellBus::DeviceHandler(const BusAnswerFunction& answer) const {
  if (!devices_) {
    answer(BusAnswer::Fail(kBusErrorNoDevice, QStringLiteral("No device is connected.")));
  }
  return devices_;
}

void ShellBus::ListDevices(QList<QVariantMap>& devices) {
  devices = devices_ ? devices_->ListDevices() : QList<QVariantMap>{};
}

void ShellBus::GetProfiles(const QString& device, QStringList&, int&) {
  const BusAnswerFunction answer = DelayAnswer();
  if (DeviceBusHandler* handler = DeviceHandler(answer)) answer(handler->Profiles(device));
}

void ShellBus::ApplyProfile(const QString& device, const QString& profile, int&) {
  const BusAnswerFunction answer = DelayAnswer();
  if (DeviceBusHandler* handler = DeviceHandler(answer))
    handler->ApplyProfile(device, profile, answer);
}

void ShellBus::GetDpi(const QString& device, int&, QList<int>&) {
  const BusAnswerFunction answer = DelayAnswer();
  if (DeviceBusHandler* handler = DeviceHandler(answer)) answer(handler->Dpi(device));
}

void ShellBus::SetDpiStage(const QString& device, int stage) {
  const BusAnswerFunction answer = DelayAnswer();
  if (DeviceBusHandler* handler = DeviceHandler(answer))
    handler->SetDpiStage(device, stage, answer);
}

void ShellBus::SetDpiValue(const QString& device, int stage, int dpi, int&) {
  const BusAnswerFunction answer = DelayAnswer();
  if (DeviceBusHandler* handler = DeviceHandler(answer))
    handler->SetDpiValue(device, stage, dpi, answer);
}

void ShellBus::SetLighting(const QString& device, int effect, int colour, int brightness,
                           int speed) {
  const BusAnswerFunction answer = DelayAnswer();
  if (DeviceBusHandler* handler = DeviceHandler(answer))
    handler->SetLighting(device, effect, colour, brightness, speed, answer);
}

void ShellBus::ExportProfile(const QString& device, const QString& path) {
  const BusAnswerFunction answer = DelayAnswer();
  if (DeviceBusHandler* handler = DeviceHandler(answer))
    answer(handler->ExportProfile(device, path));
}

void ShellBus::ImportProfile(const QString& device, const QString& path, int&, QString&) {
  const BusAnswerFunction answer = DelayAnswer();
  if (DeviceBusHandler* handler = DeviceHandler(answer))
    handler->ImportProfile(device, path, answer);
}

}  // namespace vorlin
