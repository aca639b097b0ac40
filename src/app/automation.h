#pragma once

// The automation interface: end-to-end tests drive the shipped program through a local socket,
// one JSON object per line in each direction (docs/automation.md is the contract). Off unless the
// program is started with --automation PATH (or VORLIN_AUTOMATION=PATH).

#include <functional>
#include <memory>

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;
class QWidget;

namespace vorlin {

inline constexpr int kAutomationProtocolVersion = 1;
// A request line longer than this ends the connection.
inline constexpr qsizetype kAutomationMaxLine = 64 * 1024;

struct AutomationHost {
  // The window whose controls are addressed (other open windows are searched too).
  std::function<QWidget*()> window;
  std::function<bool(const QString& path, QString* error)> screenshot;
  std::function<void()> quit;
};

// One request line in, one reply object out. Pure apart from the widgets it touches.
QJsonObject HandleAutomationRequest(const QByteArray& line, const AutomationHost& host);

// The control named `name`: in the modal window when one is open, then in the host's window,
// then in the other visible windows. nullptr when there is none.
QWidget* FindAutomationControl(const AutomationHost& host, const QString& name);

// What "state" reports about a control.
QJsonObject ControlStateJson(const QWidget* control);

class AutomationServer : public QObject {
  Q_OBJECT

 public:
  explicit AutomationServer(AutomationHost host, QObject* parent = nullptr);
  ~AutomationServer() override;

  // Listens at `path` (user-only). A stale socket file is replaced; a path where another program
  // answers is refused. False with the reason in *error.
  bool Listen(const QString& path, QString* error = nullptr);
  QString Path() const;

 private:
  void OnConnection();
  void OnReadable(QLocalSocket* socket);

  AutomationHost host_;
  std::unique_ptr<QLocalServer> server_;
  QHash<QLocalSocket*, QByteArray> buffers_;
};

}  // namespace vorlin
