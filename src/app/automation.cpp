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
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTimer>

#include "app/automation_connection.h"
#include "app/automation_frames.h"
#include "app/automation_runner.h"
#include "app/automation_window.h"
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
  return AutomationReply(error);
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
  int index = -1;
  const QJsonValue index_value = request.value(QStringLiteral("index"));
  const QJsonValue text_value = request.value(QStringLiteral("text"));
  const bool has_rows = qobject_cast<QComboBox*>(control) || qobject_cast<QListWidget*>(control);
  if (index_value.isDouble()) {
    index = index_value.toInt(-1);
  } else if (text_value.isString()) {
    if (!has_rows) return QStringLiteral("control has no selection");
    index = RowWithText(control, text_value.toString());
    if (index < 0) return QStringLiteral("no row \"%1\"").arg(text_value.toString());
  } else {
    return QStringLiteral("\"index\" (a number) or \"text\" (a row's text) is required");
  }
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

QWidget* FindPageControl(DevicePage& page, const QString& name) {
  if (name.isEmpty()) return nullptr;
  if (QWidget* control = FindControl(&page, name)) return control;
  if (const CDeviceOptionUI* option = page.Option()) {
    if (QWidget* control = FindControl(option, name)) return control;
  }
  // The control may be on a panel not built yet.
  if (!page.BuildAllPanels()) return nullptr;
  return FindControl(&page, name);
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
    // The control may be on a panel of a page not built yet.
    bool built = false;
    for (DevicePage* page : main->findChildren<DevicePage*>()) built |= page->BuildAllPanels();
    if (built) {
      if (QWidget* control = FindControl(main, name)) return control;
    }
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
    state.insert(QStringLiteral("items"), QJsonArray::fromStringList(RowTexts(combo)));
  } else if (const auto* slider = qobject_cast<const QAbstractSlider*>(control)) {
    state.insert(QStringLiteral("value"), slider->value());
  } else if (const auto* progress = qobject_cast<const QProgressBar*>(control)) {
    state.insert(QStringLiteral("value"), progress->value());
  } else if (const auto* list = qobject_cast<const QListWidget*>(control)) {
    state.insert(QStringLiteral("value"), list->currentRow());
    state.insert(QStringLiteral("items"), QJsonArray::fromStringList(RowTexts(list)));
  } else if (const auto* tabs = qobject_cast<const QStackedWidget*>(control)) {
    state.insert(QStringLiteral("value"), tabs->currentIndex());
  }
  return state;
}

QJsonObject AutomationReply(const QString& error) {
  QJsonObject reply;
  reply.insert(QStringLiteral("ok"), error.isEmpty());
  reply.insert(QStringLiteral("error"), error);
  return reply;
}

namespace {

AutomationStep Answered(const QJsonObject& reply) {
  return {reply, {}};
}

AutomationStep Failed(const QString& error) {
  return Answered(Reply(error));
}

QJsonObject WithFields(QJsonObject reply, const QJsonObject& fields) {
  for (auto it = fields.begin(); it != fields.end(); ++it) reply.insert(it.key(), it.value());
  return reply;
}

// "controls": the named controls of the window on top.
QJsonObject ListTopWindow(const AutomationHost& host) {
  const QWidget* window = TopWindow(HostWindow(host));
  if (!window) return Reply(QStringLiteral("there is no window"));
  QJsonObject reply = Reply();
  reply.insert(QStringLiteral("window"), ControlIdentity(window));
  reply.insert(QStringLiteral("controls"), ListControls(window));
  return reply;
}

// An item of the open menu: read, or chosen by "click" (or "select" with "selected": true).
AutomationStep MenuItemStep(const QString& op, const QJsonObject& request, QMenu* menu,
                            QAction* item) {
  if (op == QLatin1String("state")) return Answered(WithFields(Reply(), MenuItemStateJson(*item)));
  const bool chooses =
      op == QLatin1String("click") ||
      (op == QLatin1String("select") && request.value(QStringLiteral("selected")).toBool(true));
  if (!chooses) return Failed(QStringLiteral("a menu item can only be clicked"));
  return {{}, [menu = QPointer<QMenu>(menu), item = QPointer<QAction>(item)]() -> QString {
            if (!menu || !item || !menu->isVisible()) return QStringLiteral("the menu has closed");
            if (!item->isEnabled()) return QStringLiteral("control is disabled");
            ChooseMenuItem(*menu, *item);
            return {};
          }};
}

// The control a request names: on a page ("page"), in a list row ("list" and "row"), or found
// in the open windows. Sets *error when there is none.
QWidget* RequestedControl(const QJsonObject& request, const QString& name,
                          const AutomationHost& host, QString* error) {
  const QJsonValue page_value = request.value(QStringLiteral("page"));
  const QJsonValue list_value = request.value(QStringLiteral("list"));
  DevicePage* scope = nullptr;
  QString scope_text;
  if (!page_value.isUndefined()) {
    // Names repeat on every device page: the lookup stays on the page asked for.
    const QString page_name = page_value.toString();
    if (page_name.isEmpty()) {
      *error = QStringLiteral("\"page\" is a page's data name");
      return nullptr;
    }
    DevicePage* page = FindAutomationPage(host, page_name);
    if (!page) {
      *error = QStringLiteral("no page named \"%1\"").arg(page_name);
      return nullptr;
    }
    if (list_value.isUndefined()) {
      QWidget* control = FindPageControl(*page, name);
      if (!control)
        *error = QStringLiteral("no control named \"%1\" on page \"%2\"").arg(name, page_name);
      return control;
    }
    scope = page;
    scope_text = QStringLiteral(" on page \"%1\"").arg(page_name);
  }
  if (list_value.isUndefined()) {
    QWidget* control = FindAutomationControl(host, name);
    if (!control) *error = QStringLiteral("no control named \"%1\"").arg(name);
    return control;
  }
  // Rows of one list repeat their controls' names: the lookup stays in the row asked for.
  const QString list_name = list_value.toString();
  const QJsonValue row_value = request.value(QStringLiteral("row"));
  if (list_name.isEmpty() || !row_value.isDouble()) {
    *error = QStringLiteral("\"list\" (a list's name) goes with \"row\" (a number)");
    return nullptr;
  }
  QWidget* found =
      scope ? FindPageControl(*scope, list_name) : FindAutomationControl(host, list_name);
  auto* list = qobject_cast<QListWidget*>(found);
  if (!list) {
    *error = QStringLiteral("no list named \"%1\"%2").arg(list_name, scope_text);
    return nullptr;
  }
  QWidget* row = ListRow(list, row_value.toInt(-1));
  if (!row) {
    *error = QStringLiteral("list \"%1\" has no row %2").arg(list_name).arg(row_value.toInt(-1));
    return nullptr;
  }
  QWidget* control = FindControl(row, name);
  if (!control) {
    *error = QStringLiteral("no control named \"%1\" in row %2 of \"%3\"")
                 .arg(name)
                 .arg(row_value.toInt(-1))
                 .arg(list_name);
  }
  return control;
}

}  // namespace

AutomationStep PrepareAutomationRequest(const QByteArray& line, const AutomationHost& host) {
  QJsonParseError parse_error;
  const QJsonDocument document = QJsonDocument::fromJson(line, &parse_error);
  if (parse_error.error != QJsonParseError::NoError || !document.isObject()) {
    return Failed(QStringLiteral("a request is one JSON object per line"));
  }
  const QJsonObject request = document.object();
  const QString op = request.value(QStringLiteral("op")).toString();
  if (op == QLatin1String("version")) {
    QJsonObject reply = Reply();
    reply.insert(QStringLiteral("protocol"), kAutomationProtocolVersion);
    reply.insert(QStringLiteral("program"), QString::fromLatin1(AppVersion()));
    return Answered(reply);
  }
  if (op == QLatin1String("screenshot")) {
    const QString path = request.value(QStringLiteral("path")).toString();
    if (path.isEmpty()) return Failed(QStringLiteral("\"path\" is required"));
    QString error;
    if (!host.screenshot || !host.screenshot(path, &error)) {
      return Failed(error.isEmpty() ? QStringLiteral("cannot take the screenshot") : error);
    }
    return Answered(Reply());
  }
  if (op == QLatin1String("quit")) {
    // The reply goes out first; the program ends from the event loop.
    if (host.quit) QTimer::singleShot(0, qApp, host.quit);
    return Answered(Reply());
  }
  if (op == QLatin1String("window")) return Answered(ShowWindow(request, host));
  if (op == QLatin1String("frames")) return Answered(CountFrames(request, host));
  if (op == QLatin1String("controls")) return Answered(ListTopWindow(host));
  const bool acts = op == QLatin1String("click") || op == QLatin1String("select") ||
                    op == QLatin1String("value") || op == QLatin1String("text");
  if (!acts && op != QLatin1String("state")) {
    return Failed(op.isEmpty() ? QStringLiteral("\"op\" is required")
                               : QStringLiteral("unknown op \"%1\"").arg(op));
  }
  const QString name = request.value(QStringLiteral("control")).toString();
  if (name.isEmpty()) return Failed(QStringLiteral("\"control\" is required"));
  // An open menu is on top of everything: its items are looked up first.
  const bool scoped =
      request.contains(QStringLiteral("page")) || request.contains(QStringLiteral("list"));
  if (QMenu* menu = OpenMenu(); menu && !scoped) {
    if (QAction* item = MenuItem(*menu, name)) return MenuItemStep(op, request, menu, item);
  }
  QString error;
  QWidget* control = RequestedControl(request, name, host, &error);
  if (!control) return Failed(error);
  if (op == QLatin1String("state")) return Answered(WithFields(Reply(), ControlStateJson(control)));
  return {{}, [control = QPointer<QWidget>(control), op, request]() -> QString {
            // The action runs a moment after the lookup: the control may have gone meanwhile.
            if (!control) return QStringLiteral("the control has gone");
            if (QString error = UserReachable(control); !error.isEmpty()) return error;
            if (op == QLatin1String("click")) return Click(control);
            if (op == QLatin1String("select")) return Select(control, request);
            if (op == QLatin1String("value")) return SetValue(control, request);
            return SetText(control, request);
          }};
}

QJsonObject HandleAutomationRequest(const QByteArray& line, const AutomationHost& host) {
  const AutomationStep step = PrepareAutomationRequest(line, host);
  return step.act ? Reply(step.act()) : step.reply;
}

AutomationServer::AutomationServer(AutomationHost host, QObject* parent)
    : QObject(parent), host_(std::move(host)), runner_(std::make_unique<AutomationRunner>()) {}

AutomationServer::~AutomationServer() {
  // The connections go first: they answer through the runner and read the host.
  qDeleteAll(findChildren<AutomationConnection*>(Qt::FindDirectChildrenOnly));
  runner_.reset();
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
    new AutomationConnection(socket, host_, runner_.get(), this);  // owned by this server
  }
}

}  // namespace vorlin
