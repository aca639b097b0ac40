#pragma once

// The automation interface: end-to-end tests drive the shipped program through a local socket,
// one JSON object per line in each direction (docs/automation.md is the contract). Off unless the
// program is started with --automation PATH (or VORLIN_AUTOMATION=PATH).

#include <functional>
#include <memory>

#include <QByteArray>
#include <QJsonObject>
#include <QObject>
#include <QString>

class QLocalServer;
class QWidget;

namespace vorlin {

class AutomationRunner;
class DevicePage;

inline constexpr int kAutomationProtocolVersion = 1;
// A request line longer than this ends the connection.
inline constexpr qsizetype kAutomationMaxLine = 64 * 1024;

struct AutomationHost {
  // The window whose controls are addressed (other open windows are searched too). The "window"
  // op reaches the main window object (CMainWnd) through this window's notification bridge.
  std::function<QWidget*()> window;
  std::function<bool(const QString& path, QString* error)> screenshot;
  std::function<void()> quit;
};

// A reply: "ok" and "error" (empty when ok).
QJsonObject AutomationReply(const QString& error = QString());

// A request read and looked up: either its reply, or the action that acts on the control (a
// click, a choice, a value, a text) and whose error text makes the reply. An action may open a
// modal window or a menu and so run that window's event loop before it returns.
struct AutomationStep {
  QJsonObject reply;
  std::function<QString()> act;
};
AutomationStep PrepareAutomationRequest(const QByteArray& line, const AutomationHost& host);

// One request line in, one reply object out, the action (if any) performed at once. Pure apart
// from the widgets it touches.
QJsonObject HandleAutomationRequest(const QByteArray& line, const AutomationHost& host);

// The control named `name`: in the modal window when one is open, then in the host's window,
// then in the other visible windows. A name the host's window lacks gets its pages' panels built
// (they are built when first shown) and is looked up again. nullptr when there is none.
QWidget* FindAutomationControl(const AutomationHost& host, const QString& name);

// The device page whose data name ("mouse", "keyboard", "MousePad", "HD") is `data_name`, below
// the host's window; with several, the one whose option is shown. nullptr when there is none.
DevicePage* FindAutomationPage(const AutomationHost& host, const QString& data_name);
// The page of the selected (and shown) option of the selector strip; nullptr when none is.
DevicePage* SelectedAutomationPage(const AutomationHost& host);
// The control named `name` on `page`: in the page itself (with its panels built, when it lacks
// the name), then in its option of the selector strip. nullptr when there is none.
QWidget* FindPageControl(DevicePage& page, const QString& name);
// The picture of the device on `page` (what the frame timer repaints); nullptr without one.
QWidget* PagePicture(const DevicePage& page);

// What "state" reports about a control.
QJsonObject ControlStateJson(const QWidget* control);

// Clients connect to the server; each gets an AutomationConnection, and the actions of all of
// them run through one AutomationRunner (so that an action that closes a modal window opened by
// another client's action is answered in the right order).

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

  AutomationHost host_;
  std::unique_ptr<AutomationRunner> runner_;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace vorlin
