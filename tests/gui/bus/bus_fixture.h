#pragma once

// The program's main window over the emulated devices, offering its session-bus interface on the
// test's private bus, and a second connection playing the script that calls it. Calls go out
// asynchronously: the program answers on this same thread.

#include <gtest/gtest.h>

#include <memory>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QSignalSpy>

#include "gui/app/main_window_fixture.h"
#include "profiles/json_access.h"
#include "profiles/json_file_io.h"
#include "shell/shell_bus.h"

namespace vorlin::test {

class BusFixture : public MainWindowFixture {
 protected:
  bool SessionBus() const override { return true; }

  void SetUp() override {
    if (!QDBusConnection::sessionBus().isConnected()) {
      GTEST_SKIP() << "no D-Bus session bus (install dbus-run-session to run these)";
    }
    MainWindowFixture::SetUp();
    ASSERT_TRUE(WaitShown({"mouse", "keyboard", "MousePad", "HD"}));
    client_ = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(
        QDBusConnection::SessionBus, QStringLiteral("bus-test-client")));
    ASSERT_TRUE(client_->isConnected());
  }
  void TearDown() override {
    client_.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("bus-test-client"));
    MainWindowFixture::TearDown();
  }

  QDBusMessage Call(const QString& method, const QVariantList& args = {}) {
    QDBusMessage message = QDBusMessage::createMethodCall(
        QLatin1String(ShellBus::kService), QLatin1String(ShellBus::kObjectPath),
        QLatin1String(ShellBus::kInterface), method);
    message.setArguments(args);
    QDBusPendingCallWatcher watcher(client_->asyncCall(message, 20000));
    QSignalSpy done(&watcher, &QDBusPendingCallWatcher::finished);
    if (!watcher.isFinished()) done.wait(20000);
    return watcher.reply();
  }

  // The current profile document of a product's page.
  Json::Value DeviceDocument(const char* product) const {
    const Json::Value document =
        JsonFileIo::ReadJsonFile(PageOf(product)->Client().View().profilePath);
    return Element(Member(document, "Device"), 0);
  }

  std::unique_ptr<QDBusConnection> client_;
};

// The error name and message of a reply that should be an error.
inline std::string Describe(const QDBusMessage& reply) {
  return (reply.errorName() + QStringLiteral(": ") + reply.errorMessage()).toStdString();
}

}  // namespace vorlin::test
