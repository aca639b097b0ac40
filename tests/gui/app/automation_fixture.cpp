#include "automation_fixture.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <thread>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QTest>

#include "app/main_window.h"

namespace vorlin::test {

AppSessionOptions DemoOptions() {
  AppSessionOptions options;
  options.demo = true;
  options.useHidraw = false;
  options.useSessionBus = false;
  options.followSleep = false;
  return options;
}

QString ErrorOf(const QJsonObject& reply) {
  return reply.value("error").toString();
}

ScriptedClient::~ScriptedClient() {
  Close();
}

bool ScriptedClient::Connect(const QString& path) {
  Close();
  fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return false;
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const QByteArray native = path.toLocal8Bit();
  if (native.size() >= static_cast<qsizetype>(sizeof(address.sun_path))) return false;
  std::memcpy(address.sun_path, native.constData(), native.size());
  if (::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
    Close();
    return false;
  }
  return true;
}

void ScriptedClient::Send(const QByteArray& line) {
  const QByteArray data = line + '\n';
  qsizetype sent = 0;
  while (fd_ >= 0 && sent < data.size()) {
    const ssize_t n = ::send(fd_, data.constData() + sent, data.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += n;
  }
}

QJsonObject ScriptedClient::Reply(int timeout_ms) {
  QElapsedTimer clock;
  clock.start();
  while (fd_ >= 0) {
    const qsizetype end = pending_.indexOf('\n');
    if (end >= 0) {
      const QByteArray line = pending_.left(end);
      pending_.remove(0, end + 1);
      return QJsonDocument::fromJson(line).object();
    }
    const qint64 left = timeout_ms - clock.elapsed();
    if (left <= 0) return {};
    pollfd waiting{fd_, POLLIN, 0};
    if (::poll(&waiting, 1, static_cast<int>(left)) <= 0) continue;
    char buffer[4096];
    const ssize_t n = ::recv(fd_, buffer, sizeof(buffer), 0);
    if (n <= 0) return {};
    pending_.append(buffer, n);
  }
  return {};
}

QJsonObject ScriptedClient::Ask(const QByteArray& line, int timeout_ms) {
  Send(line);
  return Reply(timeout_ms);
}

void ScriptedClient::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  pending_.clear();
}

void AutomationTest::SetUp() {
  AppSessionOptions options = DemoOptions();
  options.automationPath = SocketPath();
  session_ = std::make_unique<AppSession>(options);
  QString error;
  ASSERT_TRUE(session_->Start(&error)) << error.toStdString();
  ASSERT_TRUE(QTest::qWaitFor([this] { return session_->MainWindow()->FirstPassSeen(); }, 5000));
  client_.connectToServer(options.automationPath);
  ASSERT_TRUE(client_.waitForConnected(2000));
}

void AutomationTest::TearDown() {
  client_.abort();
  session_.reset();
}

QString AutomationTest::SocketPath() const {
  return dir_.filePath(QStringLiteral("automation.sock"));
}

QJsonObject AutomationTest::Ask(const QByteArray& line) {
  client_.write(line + '\n');
  client_.flush();
  if (!QTest::qWaitFor([this] { return client_.canReadLine(); }, 5000)) return {};
  return QJsonDocument::fromJson(client_.readLine()).object();
}

namespace {
// Closes the menus and modal windows that are still open, topmost first.
void CloseLeftWindows() {
  for (int guard = 0; guard < 8; ++guard) {
    if (QWidget* popup = QApplication::activePopupWidget()) {
      popup->close();
    } else if (QWidget* modal = QApplication::activeModalWidget()) {
      if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        dialog->reject();
      } else {
        modal->close();
      }
    } else {
      return;
    }
  }
}
}  // namespace

void AutomationTest::RunScript(const std::function<void(ScriptedClient&)>& script) {
  std::atomic<bool> done{false};
  const QString path = SocketPath();
  std::thread thread([&] {
    {
      ScriptedClient client;
      if (client.Connect(path)) {
        script(client);
      } else {
        ADD_FAILURE() << "cannot connect to " << path.toStdString();
      }
    }
    done = true;
    // Ends the loop of a window the script left open (this thread is not the window's).
    QMetaObject::invokeMethod(qApp, &CloseLeftWindows, Qt::QueuedConnection);
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 60000));
  thread.join();
  QTest::qWait(50);
  CloseLeftWindows();
}

}  // namespace vorlin::test
