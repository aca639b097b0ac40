#include "app/automation.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTimer>

#include "app/automation_frames.h"
#include "app/main_window.h"
#include "pages/device_option.h"
#include "pages/device_page.h"
#include "platform/log.h"
#include "shell/app_identity.h"
#include "ui/controls.h"
#include "ui/find_control.h"
#include "ui/notification.h"
#include "ui/notify_bridge.h"

namespace vorlin {

namespace {

QJsonObject Reply(const QString& error = QString()) {
  QJsonObject reply;
  reply.insert(QStringLiteral("ok"), error.isEmpty());
  reply.insert(QStringLiteral("error"), error);
  return reply;
}

// A user can only act on a control that is on the screen and enabled.
QString UserReachable(const QWidget* control) {
  if (!control->isVisible()) return QStringLiteral("control is not visible");
  if (!control->isEnabled()) return QStringLiteral("control is disabled");
  return {};
}

QString Click(QWidget* control) {
  auto* button = qobject_cast<QAbstractButton*>(control);
  if (!button) return QStringLiteral("control cannot be clicked");
  button->click();
  return {};
}

QString Select(QWidget* control, const QJsonObject& request) {
  if (auto* button = qobject_cast<QAbstractButton*>(control)) {
    if (!button->isCheckable()) return QStringLiteral("control is not an option");
    SetSelected(button, request.value(QStringLiteral("selected")).toBool(true));
    return {};
  }
  const QJsonValue index_value = request.value(QStringLiteral("index"));
  if (!index_value.isDouble()) return QStringLiteral("\"index\" (a number) is required");
  const int index = index_value.toInt(-1);
  if (auto* combo = qobject_cast<QComboBox*>(control)) {
    if (index < 0 || index >= combo->count()) return QStringLiteral("index out of range");
    combo->setCurrentIndex(index);
    return {};
  }
  if (auto* list = qobject_cast<QListWidget*>(control)) {
    if (index < 0 || index >= list->count()) return QStringLiteral("index out of range");
    list->setCurrentRow(index);
    return {};
  }
  return QStringLiteral("control has no selection");
}

QString SetValue(QWidget* control, const QJsonObject& request) {
  auto* slider = qobject_cast<QAbstractSlider*>(control);
  if (!slider) return QStringLiteral("control has no value");
  const QJsonValue value = request.value(QStringLiteral("value"));
  if (!value.isDouble()) return QStringLiteral("\"value\" (a number) is required");
  slider->setValue(value.toInt());
  // As when the user lets go of the slider.
  SendNotification(slider, QString::fromLatin1(notify::kValueChanged));
  return {};
}

QString SetText(QWidget* control, const QJsonObject& request) {
  auto* edit = qobject_cast<QLineEdit*>(control);
  if (!edit) return QStringLiteral("control is not an edit");
  if (edit->isReadOnly()) return QStringLiteral("control is read-only");
  const QJsonValue text = request.value(QStringLiteral("text"));
  if (!text.isString()) return QStringLiteral("\"text\" (a string) is required");
  // Typed, then left: the edit's own limits apply as they do to typing.
  edit->setText(text.toString());
  SendNotification(edit, QString::fromLatin1(notify::kTextChanged));
  SendNotification(edit, QString::fromLatin1(notify::kKillFocus));
  return {};
}

QWidget* HostWindow(const AutomationHost& host) {
  return host.window ? host.window() : nullptr;
}

// The main window object behind the host's window: the handler of its notifications.
CMainWnd* MainWindowOf(QWidget* window) {
  const NotifyBridge* bridge = window ? NotifyBridge::Of(window) : nullptr;
  return bridge ? dynamic_cast<CMainWnd*>(bridge->Handler()) : nullptr;
}

// Hides or shows the main window as the tray icon's click does.
QJsonObject ShowWindow(const QJsonObject& request, const AutomationHost& host) {
  const QJsonValue shown = request.value(QStringLiteral("shown"));
  if (!shown.isBool()) return Reply(QStringLiteral("\"shown\" (true or false) is required"));
  QWidget* window = HostWindow(host);
  CMainWnd* main = MainWindowOf(window);
  if (!main) return Reply(QStringLiteral("there is no main window"));
  const auto on_screen = [window] { return window->isVisible() && !window->isMinimized(); };
  if (shown.toBool() != on_screen()) main->ToggleWindow();
  // Without a tray the program minimises the window instead, as the user would have no way back;
  // here the automation socket is the way back, so the window goes as it goes into the tray.
  if (!shown.toBool() && window->isVisible()) window->hide();
  QJsonObject reply = Reply();
  reply.insert(QStringLiteral("shown"), on_screen());
  return reply;
}

// The paints of a page's picture since the previous "frames" request for that page.
QJsonObject CountFrames(const QJsonObject& request, const AutomationHost& host) {
  DevicePage* page = nullptr;
  const QJsonValue page_value = request.value(QStringLiteral("page"));
  if (page_value.isUndefined()) {
    page = SelectedAutomationPage(host);
    if (!page) return Reply(QStringLiteral("no device page is selected"));
  } else {
    const QString name = page_value.toString();
    if (name.isEmpty()) return Reply(QStringLiteral("\"page\" is a page's data name"));
    page = FindAutomationPage(host, name);
    if (!page) return Reply(QStringLiteral("no page named \"%1\"").arg(name));
  }
  QWidget* picture = PagePicture(*page);
  if (!picture) return Reply(QStringLiteral("the page has no device picture"));
  const bool started = !PaintCounter::Installed(picture);
  const PaintCounter::Sample sample = PaintCounter::Of(picture)->Take();
  QJsonObject reply = Reply();
  reply.insert(QStringLiteral("page"), QString::fromStdString(page->Product().dataName));
  reply.insert(QStringLiteral("visible"), picture->isVisible());
  reply.insert(QStringLiteral("started"), started);
  reply.insert(QStringLiteral("frames"), sample.frames);
  reply.insert(QStringLiteral("max_gap_ms"), sample.maxGapMs);
  reply.insert(QStringLiteral("elapsed_ms"), sample.elapsedMs);
  return reply;
}

}  // namespace

DevicePage* FindAutomationPage(const AutomationHost& host, const QString& data_name) {
  QWidget* window = HostWindow(host);
  if (!window || data_name.isEmpty()) return nullptr;
  DevicePage* found = nullptr;
  for (DevicePage* page : window->findChildren<DevicePage*>()) {
    if (QString::fromStdString(page->Product().dataName) != data_name) continue;
    if (page->Option() && page->Option()->Shown()) return page;
    if (!found) found = page;
  }
  return found;
}

DevicePage* SelectedAutomationPage(const AutomationHost& host) {
  QWidget* window = HostWindow(host);
  if (!window) return nullptr;
  for (DevicePage* page : window->findChildren<DevicePage*>()) {
    const CDeviceOptionUI* option = page->Option();
    if (option && option->Shown() && option->IsSelected()) return page;
  }
  return nullptr;
}

QWidget* FindPageControl(const DevicePage& page, const QString& name) {
  if (name.isEmpty()) return nullptr;
  if (QWidget* control = FindControl(&page, name)) return control;
  if (const CDeviceOptionUI* option = page.Option()) return FindControl(option, name);
  return nullptr;
}

QWidget* PagePicture(const DevicePage& page) {
  // The page's layout tree, the only widget of the picture's area.
  const QWidget* area = FindControl(&page, QStringLiteral("device_picture_area"));
  return area ? area->findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

QWidget* FindAutomationControl(const AutomationHost& host, const QString& name) {
  if (name.isEmpty()) return nullptr;
  if (QWidget* modal = QApplication::activeModalWidget()) {
    if (QWidget* control = FindControl(modal, name)) return control;
  }
  QWidget* main = host.window ? host.window() : nullptr;
  if (main) {
    if (QWidget* control = FindControl(main, name)) return control;
  }
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window == main || !window->isVisible()) continue;
    if (QWidget* control = FindControl(window, name)) return control;
  }
  return nullptr;
}

QJsonObject ControlStateJson(const QWidget* control) {
  QJsonObject state;
  state.insert(QStringLiteral("visible"), control->isVisible());
  state.insert(QStringLiteral("enabled"), control->isEnabled());
  state.insert(QStringLiteral("class"), QString::fromLatin1(control->metaObject()->className()));
  const QPoint origin = control->mapTo(control->window(), QPoint(0, 0));
  state.insert(QStringLiteral("geometry"),
               QJsonArray{origin.x(), origin.y(), control->width(), control->height()});
  if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
    state.insert(QStringLiteral("checked"), button->isCheckable() && button->isChecked());
    state.insert(QStringLiteral("text"), button->text());
  } else if (const auto* label = qobject_cast<const QLabel*>(control)) {
    state.insert(QStringLiteral("text"), label->text());
  } else if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
    state.insert(QStringLiteral("text"), edit->text());
  } else if (const auto* combo = qobject_cast<const QComboBox*>(control)) {
    state.insert(QStringLiteral("text"), combo->currentText());
    state.insert(QStringLiteral("value"), combo->currentIndex());
  } else if (const auto* slider = qobject_cast<const QAbstractSlider*>(control)) {
    state.insert(QStringLiteral("value"), slider->value());
  } else if (const auto* progress = qobject_cast<const QProgressBar*>(control)) {
    state.insert(QStringLiteral("value"), progress->value());
  } else if (const auto* list = qobject_cast<const QListWidget*>(control)) {
    state.insert(QStringLiteral("value"), list->currentRow());
  } else if (const auto* tabs = qobject_cast<const QStackedWidget*>(control)) {
    state.insert(QStringLiteral("value"), tabs->currentIndex());
  }
  return state;
}

QJsonObject HandleAutomationRequest(const QByteArray& line, const AutomationHost& host) {
  QJsonParseError parse_error;
  const QJsonDocument document = QJsonDocument::fromJson(line, &parse_error);
  if (parse_error.error != QJsonParseError::NoError || !document.isObject()) {
    return Reply(QStringLiteral("a request is one JSON object per line"));
  }
  const QJsonObject request = document.object();
  const QString op = request.value(QStringLiteral("op")).toString();
  if (op == QLatin1String("version")) {
    QJsonObject reply = Reply();
    reply.insert(QStringLiteral("protocol"), kAutomationProtocolVersion);
    reply.insert(QStringLiteral("program"), QString::fromLatin1(AppVersion()));
    return reply;
  }
  if (op == QLatin1String("screenshot")) {
    const QString path = request.value(QStringLiteral("path")).toString();
    if (path.isEmpty()) return Reply(QStringLiteral("\"path\" is required"));
    QString error;
    if (!host.screenshot || !host.screenshot(path, &error)) {
      return Reply(error.isEmpty() ? QStringLiteral("cannot take the screenshot") : error);
    }
    return Reply();
  }
  if (op == QLatin1String("quit")) {
    // The reply goes out first; the program ends from the event loop.
    if (host.quit) QTimer::singleShot(0, qApp, host.quit);
    return Reply();
  }
  if (op == QLatin1String("window")) return ShowWindow(request, host);
  if (op == QLatin1String("frames")) return CountFrames(request, host);
  const bool acts = op == QLatin1String("click") || op == QLatin1String("select") ||
                    op == QLatin1String("value") || op == QLatin1String("text");
  if (!acts && op != QLatin1String("state")) {
    return Reply(op.isEmpty() ? QStringLiteral("\"op\" is required")
                              : QStringLiteral("unknown op \"%1\"").arg(op));
  }
  const QString name = request.value(QStringLiteral("control")).toString();
  if (name.isEmpty()) return Reply(QStringLiteral("\"control\" is required"));
  QWidget* control = nullptr;
  const QJsonValue page_value = request.value(QStringLiteral("page"));
  if (page_value.isUndefined()) {
    control = FindAutomationControl(host, name);
    if (!control) return Reply(QStringLiteral("no control named \"%1\"").arg(name));
  } else {
    // Names repeat on every device page: the lookup stays on the page asked for.
    const QString page_name = page_value.toString();
    if (page_name.isEmpty()) return Reply(QStringLiteral("\"page\" is a page's data name"));
    const DevicePage* page = FindAutomationPage(host, page_name);
    if (!page) return Reply(QStringLiteral("no page named \"%1\"").arg(page_name));
    control = FindPageControl(*page, name);
    if (!control) {
      return Reply(QStringLiteral("no control named \"%1\" on page \"%2\"").arg(name, page_name));
    }
  }
  if (op == QLatin1String("state")) {
    QJsonObject reply = Reply();
    const QJsonObject state = ControlStateJson(control);
    for (auto it = state.begin(); it != state.end(); ++it) reply.insert(it.key(), it.value());
    return reply;
  }
  QString error = UserReachable(control);
  if (error.isEmpty()) {
    if (op == QLatin1String("click")) {
      error = Click(control);
    } else if (op == QLatin1String("select")) {
      error = Select(control, request);
    } else if (op == QLatin1String("value")) {
      error = SetValue(control, request);
    } else {
      error = SetText(control, request);
    }
  }
  return Reply(error);
}

AutomationServer::AutomationServer(AutomationHost host, QObject* parent)
    : QObject(parent), host_(std::move(host)) {}

AutomationServer::~AutomationServer() {
  // The server deletes its sockets, which then report their disconnection: not to us any more.
  for (QLocalSocket* socket : buffers_.keys()) socket->disconnect(this);
  buffers_.clear();
  server_.reset();
}

QString AutomationServer::Path() const {
  return server_ ? server_->fullServerName() : QString();
}

bool AutomationServer::Listen(const QString& path, QString* error) {
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(path)) {
    // A socket file left by a program that is gone is taken over; a live one is not.
    QLocalSocket probe;
    probe.connectToServer(path);
    const bool live = probe.waitForConnected(200);
    probe.abort();
    if (live || !QLocalServer::removeServer(path) || !server_->listen(path)) {
      if (error)
        *error = live ? QStringLiteral("another program listens there") : server_->errorString();
      server_.reset();
      return false;
    }
  }
  connect(server_.get(), &QLocalServer::newConnection, this, &AutomationServer::OnConnection);
  qCInfo(lcVorlin) << "automation interface on" << path;
  return true;
}

void AutomationServer::OnConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    buffers_.insert(socket, {});
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadable(socket); });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
      buffers_.remove(socket);
      socket->deleteLater();
    });
  }
}

void AutomationServer::OnReadable(QLocalSocket* socket) {
  // Work on a copy: handling may run a nested event loop (a modal window), during which the
  // table of buffers can change.
  QByteArray data = buffers_.value(socket) + socket->readAll();
  buffers_[socket].clear();
  qsizetype end;
  while ((end = data.indexOf('\n')) >= 0) {
    const QByteArray line = data.left(end).trimmed();
    data.remove(0, end + 1);
    if (line.isEmpty()) continue;
    const QJsonObject reply = HandleAutomationRequest(line, host_);
    if (!buffers_.contains(socket)) return;  // the client went away meanwhile
    socket->write(QJsonDocument(reply).toJson(QJsonDocument::Compact) + '\n');
    socket->flush();
  }
  if (data.size() > kAutomationMaxLine) {
    socket->write(QJsonDocument(Reply(QStringLiteral("request line too long")))
                      .toJson(QJsonDocument::Compact) +
                  '\n');
    socket->disconnectFromServer();
    return;
  }
  if (buffers_.contains(socket)) buffers_[socket] = data + buffers_.value(socket);
}

}  // namespace vorlin
