#include "shell/shell_bus.h"

#include <gtest/gtest.h>

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QSignalSpy>
#include <QtEndian>

namespace vorlin {
namespace {

// The device option table as the main window has it.
const std::vector<WorkToolRow> kOptionRows = {
    {0x320F, 0x225E, 2}, {0, 0, 1}, {0x320F, 0x1004, 3}, {0x0C76, 0x1630, 7}};

uint32_t ValueAt(const QByteArray& block, int index) {
  return qFromLittleEndian<uint32_t>(block.constData() + 4 * index);
}

TEST(WorkToolBlock, CarriesTheNumberAndTheRows) {
  const QByteArray block = BuildWorkToolBlock(kOptionRows);
  ASSERT_EQ(block.size(), 1024);
  const uint32_t expected[] = {2, 3, 0,      2,      4, 0x320F, 0x225E, 2, 0,
                               0, 1, 0x320F, 0x1004, 3, 0x0C76, 0x1630, 7};
  for (int i = 0; i < static_cast<int>(std::size(expected)); ++i) {
    EXPECT_EQ(ValueAt(block, i), expected[i]) << "value " << i;
  }
  // Byte order on the wire: the first row's vendor id 0x320F is 0F 32 00 00.
  EXPECT_EQ(block.mid(20, 4), QByteArray("\x0F\x32\x00\x00", 4));
  EXPECT_EQ(block.mid(4 * 17).count('\0'), 1024 - 4 * 17) << "the rest is not zero";
}

TEST(WorkToolBlock, RowsThatDoNotFitAreLeftOut) {
  EXPECT_EQ(ValueAt(BuildWorkToolBlock({}), 4), 0u);
  const std::vector<WorkToolRow> many(500, WorkToolRow{1, 2, 3});
  const QByteArray block = BuildWorkToolBlock(many);
  ASSERT_EQ(block.size(), 1024);
  EXPECT_EQ(ValueAt(block, 4), 83u);  // (256 values - 5) / 3
  EXPECT_EQ(ValueAt(block, 5 + 3 * 82 + 2), 3u);
  EXPECT_EQ(ValueAt(block, 254), 0u);
  EXPECT_EQ(ValueAt(block, 255), 0u);
}

class RecordingBusHandler : public ShellBusHandler {
 public:
  void OnLightControlRequest(bool take_over) override { light.push_back(take_over); }
  void OnInstallerReport(int code, int value) override { installer.push_back({code, value}); }
  void OnGameMessage(GameMessage message, int wparam, int lparam) override {
    games.push_back({static_cast<int>(message), wparam, lparam});
  }
  std::vector<WorkToolRow> WorkToolRows() const override { return kOptionRows; }

  std::vector<bool> light;
  std::vector<std::pair<int, int>> installer;
  std::vector<std::vector<int>> games;
};

// Listens for the light-control signal the way another program would.
class SignalListener : public QObject {
  Q_OBJECT
 public:
  std::vector<bool> seen;
 signals:
  void Seen();
 public slots:
  void OnLightControlChanged(bool controlling) {
    seen.push_back(controlling);
    emit Seen();
  }
};

// The program on the private session bus, and a second connection playing the other program.
// Calls go out asynchronously: the program answers on this same thread.
class ShellBusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!QDBusConnection::sessionBus().isConnected()) {
      GTEST_SKIP() << "no D-Bus session bus (install dbus-run-session to run these)";
    }
    ASSERT_TRUE(bus_.Start());
    client_ = std::make_unique<QDBusConnection>(
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("test-client")));
    ASSERT_TRUE(client_->isConnected());
  }
  void TearDown() override {
    client_.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("test-client"));
  }

  QDBusMessage Call(const QString& method, const QVariantList& args = {}) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        QLatin1String(ShellBus::kService), QLatin1String(ShellBus::kObjectPath),
        QLatin1String(ShellBus::kInterface), method);
    message.setArguments(args);
    QDBusPendingCallWatcher watcher(client_->asyncCall(message));
    QSignalSpy done(&watcher, &QDBusPendingCallWatcher::finished);
    if (!watcher.isFinished()) done.wait(5000);
    return watcher.reply();
  }

  RecordingBusHandler handler_;
  ShellBus bus_{&handler_};
  std::unique_ptr<QDBusConnection> client_;
};

TEST_F(ShellBusTest, ServiceIsOnTheBus) {
  EXPECT_TRUE(bus_.IsRunning());
  EXPECT_TRUE(client_->interface()->isServiceRegistered(QLatin1String(ShellBus::kService)));
}

TEST_F(ShellBusTest, WorkToolQueryAnswersTheBlock) {
  const QDBusMessage reply = Call(QStringLiteral("QueryWorkTool"));
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
  ASSERT_EQ(reply.arguments().size(), 1);
  EXPECT_EQ(reply.arguments()[0].toByteArray(), BuildWorkToolBlock(kOptionRows));
}

TEST_F(ShellBusTest, RequestsReachTheMainWindow) {
  EXPECT_EQ(Call(QStringLiteral("RequestLightControl"), {false}).type(),
            QDBusMessage::ReplyMessage);
  EXPECT_EQ(Call(QStringLiteral("RequestLightControl"), {true}).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(Call(QStringLiteral("InstallerReport"), {4, 55}).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(Call(QStringLiteral("GameStart"), {0, 0x00FF0005}).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(Call(QStringLiteral("GameDeath"), {2, 7}).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(handler_.light, (std::vector<bool>{false, true}));
  EXPECT_EQ(handler_.installer, (std::vector<std::pair<int, int>>{{4, 55}}));
  EXPECT_EQ(handler_.games,
            (std::vector<std::vector<int>>{{static_cast<int>(GameMessage::kStart), 0, 0x00FF0005},
                                           {static_cast<int>(GameMessage::kDeath), 2, 7}}));
}

TEST_F(ShellBusTest, WrongArgumentsAreRefusedByTheBus) {
  const QDBusMessage reply = Call(QStringLiteral("InstallerReport"), {QStringLiteral("four")});
  EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage);
  EXPECT_TRUE(handler_.installer.empty());
}

TEST_F(ShellBusTest, LightControlNoticeReachesListeners) {
  SignalListener listener;
  ASSERT_TRUE(client_->connect(
      QString(), QLatin1String(ShellBus::kObjectPath), QLatin1String(ShellBus::kInterface),
      QStringLiteral("LightControlChanged"), &listener, SLOT(OnLightControlChanged(bool))));
  // The match rule must be in place at the bus before the signal goes out.
  Call(QStringLiteral("QueryWorkTool"));
  QSignalSpy seen(&listener, &SignalListener::Seen);
  bus_.NotifyLightControl(true);
  bus_.NotifyLightControl(false);
  while (listener.seen.size() < 2 && seen.wait(3000)) {
  }
  EXPECT_EQ(listener.seen, (std::vector<bool>{true, false}));
}

TEST(ShellBusWithoutBus, ProgramGoesOn) {
  RecordingBusHandler handler;
  ShellBus bus(&handler);
  const QDBusConnection nowhere = QDBusConnection::connectToBus(
      QStringLiteral("unix:path=/nonexistent/vorlin-test-bus"), QStringLiteral("no-bus"));
  EXPECT_FALSE(bus.Start(nowhere));
  EXPECT_FALSE(bus.IsRunning());
  bus.NotifyLightControl(true);  // lost, harmlessly
  QDBusConnection::disconnectFromBus(QStringLiteral("no-bus"));
}

}  // namespace
}  // namespace vorlin

#include "shell_bus_test.moc"
