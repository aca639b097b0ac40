// The automation interface with modal windows and menus open: requests are answered while the
// window is up, and the window's controls, menu items and list rows can be addressed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

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

int ItemCount(const QJsonObject& state) {
  return static_cast<int>(state.value("items").toArray().size());
}

// The named controls of a "controls" reply.
QStringList Names(const QJsonObject& reply) {
  QStringList names;
  for (const QJsonValue& control : reply.value("controls").toArray())
    names.append(control.toObject().value("name").toString());
  return names;
}

// Shows the mouse page's macro panel.
void ShowMacros(ScriptedClient& client) {
  const QJsonObject reply = client.Ask(R"({"op":"click","page":"mouse","control":"macro_Op_tab"})");
  ASSERT_TRUE(Ok(reply)) << ErrorOf(reply).toStdString();
}

constexpr char kMacroNames[] = R"({"op":"state","page":"mouse","control":"macro_name_list"})";

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

TEST_F(AutomationTest, AQuestionIsAnsweredWhileOpenAndClosedByTheNextRequest) {
  const struct {
    const char* button;
    int added;
  } cases[] = {{"confirm_btn", 1}, {"cancel_btn", 0}, {"closebtn", 0}};
  for (const auto& c : cases) {
    RunScript([&c](ScriptedClient& client) {
      ShowMacros(client);
      const int before = ItemCount(client.Ask(kMacroNames));
      // "New macro?" is asked in a message box: the click is answered while it is open.
      QJsonObject reply =
          client.Ask(R"({"op":"click","page":"mouse","control":"macro_btn_name_add"})");
      ASSERT_TRUE(Ok(reply)) << ErrorOf(reply).toStdString();
      EXPECT_EQ(reply.value("opened").toObject().value("name").toString(), "msgwnd");
      reply = client.Ask(R"({"op":"controls"})");
      ASSERT_TRUE(Ok(reply)) << ErrorOf(reply).toStdString();
      EXPECT_EQ(reply.value("window").toObject().value("name").toString(), "msgwnd");
      EXPECT_TRUE(Names(reply).contains("confirm_btn")) << Names(reply).join(',').toStdString();
      EXPECT_TRUE(Names(reply).contains("MessageText"));
      // While it is open, the window behind it cannot be used.
      EXPECT_EQ(ItemCount(client.Ask(kMacroNames)), before);

      reply = client.Ask(QStringLiteral(R"({"op":"click","control":"%1"})").arg(c.button).toUtf8());
      ASSERT_TRUE(Ok(reply)) << c.button << ": " << ErrorOf(reply).toStdString();
      // The answer came when the question was done with.
      EXPECT_EQ(ItemCount(client.Ask(kMacroNames)), before + c.added) << c.button;
      reply = client.Ask(R"({"op":"controls"})");
      EXPECT_NE(reply.value("window").toObject().value("name").toString(), "msgwnd");
    });
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << c.button;
  }
}

// The device page of `data_name` in the session's window.
DevicePage* PageNamed(AppSession& session, const QString& data_name) {
  for (DevicePage* page : session.MainWindow()->Pages()) {
    if (QString::fromStdString(page->Product().dataName) == data_name) return page;
  }
  return nullptr;
}

TEST_F(AutomationTest, TheColourWindowIsDrivenByItsControlsAndItsColourReachesThePage) {
  DevicePage* mouse = PageNamed(*session_, QStringLiteral("mouse"));
  ASSERT_NE(mouse, nullptr);
  const LightSettings before = mouse->Client().Lighting();
  const struct {
    const char* closer;
    bool taken;
  } cases[] = {{"cancel_btn", false}, {"okbtn", true}};
  for (const auto& c : cases) {
    RunScript([&c](ScriptedClient& client) {
      QJsonObject reply =
          client.Ask(R"({"op":"click","page":"mouse","control":"deng_colordp_btn"})");
      ASSERT_TRUE(Ok(reply)) << ErrorOf(reply).toStdString();
      reply = client.Ask(R"({"op":"controls"})");
      for (const char* name : {"color_edit_r", "color_option_0", "okbtn", "cancel_btn"})
        EXPECT_TRUE(Names(reply).contains(name)) << name;
      // Typed numbers, then a click on a control of the window.
      for (const auto& [edit, value] :
           {std::pair{"color_edit_r", 12}, std::pair{"color_edit_g", 34},
            std::pair{"color_edit_b", 56}}) {
        reply = client.Ask(QStringLiteral(R"({"op":"text","control":"%1","text":"%2"})")
                               .arg(edit)
                               .arg(value)
                               .toUtf8());
        ASSERT_TRUE(Ok(reply)) << edit << ": " << ErrorOf(reply).toStdString();
      }
      reply = client.Ask(R"({"op":"state","control":"color_edit_g"})");
      EXPECT_EQ(reply.value("text").toString(), "34");
      reply = client.Ask(QStringLiteral(R"({"op":"click","control":"%1"})").arg(c.closer).toUtf8());
      ASSERT_TRUE(Ok(reply)) << ErrorOf(reply).toStdString();
    });
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    const LightSettings after = mouse->Client().Lighting();
    if (c.taken) {
      EXPECT_EQ(after.red, 12);
      EXPECT_EQ(after.green, 34);
      EXPECT_EQ(after.blue, 56);
    } else {
      EXPECT_EQ(after, before) << c.closer;
    }
  }
}

}  // namespace
}  // namespace vorlin::test
