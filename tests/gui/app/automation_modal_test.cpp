// The automation interface with modal windows and menus open: requests are answered while the
// window is up, and the window's controls, menu items and list rows can be addressed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QJsonArray>
#include <QJsonObject>

#include "app/main_window.h"
#include "automation_fixture.h"
#include "devices/device_client.h"
#include "pages/device_page.h"
#include "profiles/light_records.h"

namespace vorlin::test {
namespace {

bool Ok(const QJsonObject& reply) {
  return reply.value("ok").toBool(false);
}

TEST_F(AutomationTest, AClientLeavingWithTheColourWindowOpenDoesNotBringTheProgramDown) {
  const QString path = SocketPath();
  RunScript([&path](ScriptedClient& client) {
    // The click opens the colour window; the client goes while it is open.
    const QJsonObject opened =
        client.Ask(R"({"op":"click","page":"mouse","control":"deng_colordp_btn"})");
    ASSERT_TRUE(Ok(opened)) << ErrorOf(opened).toStdString();
    EXPECT_EQ(opened.value("opened").toObject().value("class").toString(),
              QStringLiteral("QDialog"));
    client.Close();
    // Another client finds the window and closes it.
    ScriptedClient other;
    ASSERT_TRUE(other.Connect(path));
    QJsonObject reply = other.Ask(R"({"op":"state","control":"cancel_btn"})");
    ASSERT_TRUE(Ok(reply)) << ErrorOf(reply).toStdString();
    EXPECT_TRUE(reply.value("visible").toBool());
    reply = other.Ask(R"({"op":"click","control":"cancel_btn"})");
    EXPECT_TRUE(Ok(reply)) << ErrorOf(reply).toStdString();
    // The program still serves.
    EXPECT_TRUE(Ok(other.Ask(R"({"op":"version"})")));
  });
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_TRUE(Ok(Ask(R"({"op":"version"})")));
}

}  // namespace
}  // namespace vorlin::test
