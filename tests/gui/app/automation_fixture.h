#pragma once

// The whole program over the emulated devices with its automation socket, and clients that talk
// to it. A request that opens a modal window runs that window's event loop on the test's thread,
// below the request's handling: a conversation that goes on while such a window is open has to
// come from another thread (ScriptedClient), as it comes from another process in real use.

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <QByteArray>
#include <QJsonObject>
#include <QLocalSocket>
#include <QString>
#include <QTemporaryDir>

#include "app/app_session.h"

namespace vorlin::test {

AppSessionOptions DemoOptions();

// A blocking client on a plain Unix socket, usable from any thread.
class ScriptedClient {
 public:
  ScriptedClient() = default;
  ~ScriptedClient();
  ScriptedClient(const ScriptedClient&) = delete;
  ScriptedClient& operator=(const ScriptedClient&) = delete;

  bool Connect(const QString& path);
  // Sends one request line and waits for its reply; an empty object when none comes in time.
  QJsonObject Ask(const QByteArray& line, int timeout_ms = 5000);
  // Sends without waiting for the reply.
  void Send(const QByteArray& line);
  // Waits for the next reply line; an empty object when none comes in time.
  QJsonObject Reply(int timeout_ms = 5000);
  void Close();

 private:
  int fd_ = -1;
  QByteArray pending_;
};

class AutomationTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Asks on the fixture's own connection, from the test's thread (no modal window may open).
  QJsonObject Ask(const QByteArray& line);

  // Runs `script` on a thread of its own with a fresh connection while this thread serves the
  // window, modal windows included, until the script ends. Windows the script leaves open are
  // closed afterwards, so that a failing script cannot hang the test.
  void RunScript(const std::function<void(ScriptedClient&)>& script);

  QString SocketPath() const;

  QTemporaryDir dir_;
  std::unique_ptr<AppSession> session_;
  QLocalSocket client_;
};

QString ErrorOf(const QJsonObject& reply);

}  // namespace vorlin::test
