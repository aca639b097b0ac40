#include "shell/shell_bus.h"

#include <QDBusConnectionInterface>
#include <QDBusError>

#include "platform/log.h"

namespace vorlin {

ShellBus::ShellBus(ShellBusHandler* handler, QObject* parent)
    : QObject(parent), handler_(handler), connection_(QString()) {}

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
  if (!connection_.registerObject(
          QLatin1String(kObjectPath), this,
          QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportScriptableSignals)) {
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

}  // namespace vorlin
