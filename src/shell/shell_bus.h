#pragma once

#include <vector>

#include <QByteArray>
#include <QDBusConnection>
#include <QObject>
#include <QString>

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
// Without a session bus the program runs on and only these messages are lost (logged once).
class ShellBus : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.vorlin.Vorlin")

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

 signals:
  Q_SCRIPTABLE void LightControlChanged(bool controlling);

 public slots:
  Q_SCRIPTABLE void RequestLightControl(bool take_over);
  Q_SCRIPTABLE QByteArray QueryWorkTool();
  Q_SCRIPTABLE void InstallerReport(int code, int value);
  Q_SCRIPTABLE void GameStart(int wparam, int lparam);
  Q_SCRIPTABLE void GameEnd(int wparam, int lparam);
  Q_SCRIPTABLE void GameKill(int wparam, int lparam);
  Q_SCRIPTABLE void GameDeath(int wparam, int lparam);

 private:
  ShellBusHandler* handler_;
  QDBusConnection connection_;
  bool registered_ = false;
  bool owns_service_ = false;
};

}  // namespace vorlin
