// The automation interface with modal windows and menus open: requests are answered while the
// window is up, and the window's controls, menu items and list rows can be addressed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

#include "app/automation.h"
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

// Asks; the request has to succeed.
QJsonObject Succeeds(ScriptedClient& client, const QByteArray& line) {
  const QJsonObject reply = client.Ask(line);
  EXPECT_TRUE(Ok(reply)) << line.constData() << " -> " << ErrorOf(reply).toStdString();
  return reply;
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
  const QJsonObject reply =
      Succeeds(client, R"({"op":"click","page":"mouse","control":"macro_Op_tab"})");
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
          Succeeds(client, R"({"op":"click","page":"mouse","control":"macro_btn_name_add"})");
      EXPECT_EQ(reply.value("opened").toObject().value("name").toString(), "msgwnd");
      reply = Succeeds(client, R"({"op":"controls"})");
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
          Succeeds(client, R"({"op":"click","page":"mouse","control":"deng_colordp_btn"})");
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
      reply = Succeeds(client,
                       QStringLiteral(R"({"op":"click","control":"%1"})").arg(c.closer).toUtf8());
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

// A new macro, made through the question the panel asks; the row count of its event list.
void AddMacro(ScriptedClient& client) {
  ShowMacros(client);
  ASSERT_TRUE(Ok(client.Ask(R"({"op":"click","page":"mouse","control":"macro_btn_name_add"})")));
  ASSERT_TRUE(Ok(client.Ask(R"({"op":"click","control":"confirm_btn"})")));
}

constexpr char kMacroEvents[] = R"({"op":"state","page":"mouse","control":"macro_action_list"})";

TEST_F(AutomationTest, AMenuListsItsItemsAndAnItemCanBeChosen) {
  RunScript([](ScriptedClient& client) {
    AddMacro(client);
    const int before = ItemCount(client.Ask(kMacroEvents));
    QJsonObject reply =
        Succeeds(client, R"({"op":"click","page":"mouse","control":"macro_btn_insert_menu"})");
    EXPECT_EQ(reply.value("opened").toObject().value("class").toString(), "QMenu");

    reply = Succeeds(client, R"({"op":"controls"})");
    EXPECT_EQ(reply.value("window").toObject().value("name").toString(), "macro_action_menu");
    const QStringList items = Names(reply);
    for (const char* name : {"left_down", "left_click", "back_click"})
      EXPECT_TRUE(items.contains(name)) << name;
    EXPECT_FALSE(items.contains("macro_action_menu_line1"));  // separators are no items
    const QJsonObject first = reply.value("controls").toArray().first().toObject();
    EXPECT_EQ(first.value("class").toString(), "QAction");
    EXPECT_FALSE(first.value("text").toString().isEmpty());
    EXPECT_TRUE(first.value("visible").toBool());

    reply = client.Ask(R"({"op":"state","control":"left_click"})");
    EXPECT_EQ(reply.value("class").toString(), "QAction");
    reply = client.Ask(R"({"op":"select","control":"left_click","selected":false})");
    EXPECT_FALSE(Ok(reply));
    EXPECT_TRUE(ErrorOf(reply).contains("menu item")) << ErrorOf(reply).toStdString();

    reply = Succeeds(client, R"({"op":"click","control":"left_click"})");
    // A click is a press and a release: two events in the macro.
    EXPECT_EQ(ItemCount(client.Ask(kMacroEvents)), before + 2);
    // The menu has closed: its items are gone with it.
    reply = client.Ask(R"({"op":"click","control":"left_click"})");
    EXPECT_TRUE(ErrorOf(reply).contains("no control")) << ErrorOf(reply).toStdString();
  });
}

TEST_F(AutomationTest, ListRowsAreChosenByIndexOrTextAndTheirControlsAddressed) {
  RunScript([](ScriptedClient& client) {
    AddMacro(client);
    AddMacro(client);
    QJsonObject names = client.Ask(kMacroNames);
    const QJsonArray rows = names.value("items").toArray();
    ASSERT_GE(rows.size(), 2);
    for (const QJsonValue& row : rows) EXPECT_FALSE(row.toString().isEmpty());

    // By text, then by index: the panel follows as it follows the user's choice.
    const QString first = rows.at(0).toString();
    QJsonObject reply = Succeeds(
        client,
        QStringLiteral(R"({"op":"select","page":"mouse","control":"macro_name_list","text":"%1"})")
            .arg(first)
            .toUtf8());
    EXPECT_EQ(client.Ask(kMacroNames).value("value").toInt(), 0);
    reply = client.Ask(R"({"op":"state","page":"mouse","control":"macro_edit_macroname"})");
    EXPECT_EQ(reply.value("text").toString(), first);
    reply =
        Succeeds(client, R"({"op":"select","page":"mouse","control":"macro_name_list","index":1})");
    reply = client.Ask(R"({"op":"state","page":"mouse","control":"macro_edit_macroname"})");
    EXPECT_EQ(reply.value("text").toString(), rows.at(1).toString());

    // The controls of one row of the event list.
    ASSERT_TRUE(
        Ok(client.Ask(R"({"op":"click","page":"mouse","control":"macro_btn_insert_menu"})")));
    ASSERT_TRUE(Ok(client.Ask(R"({"op":"click","control":"left_click"})")));
    reply = Succeeds(
        client,
        R"({"op":"text","page":"mouse","list":"macro_action_list","row":1,"control":"macro_delay","text":"250"})");
    reply = client.Ask(
        R"({"op":"state","page":"mouse","list":"macro_action_list","row":1,"control":"macro_delay"})");
    EXPECT_EQ(reply.value("text").toString(), "250");
    reply = client.Ask(
        R"({"op":"state","page":"mouse","list":"macro_action_list","row":0,"control":"macro_delay"})");
    EXPECT_NE(reply.value("text").toString(), "250");

    const struct {
      QByteArray line;
      const char* error_part;
    } cases[] = {
        {R"({"op":"select","page":"mouse","control":"macro_name_list","text":"no such macro"})",
         "no row"},
        {R"({"op":"select","page":"mouse","control":"macro_name_list"})", "\"index\""},
        {R"({"op":"select","page":"mouse","control":"macro_name_list","index":99})",
         "out of range"},
        {R"({"op":"state","page":"mouse","list":"macro_action_list","row":9,"control":"macro_delay"})",
         "no row 9"},
        {R"({"op":"state","page":"mouse","list":"macro_action_list","control":"macro_delay"})",
         "\"row\""},
        {R"({"op":"state","page":"mouse","list":"macro_btn_save","row":0,"control":"macro_delay"})",
         "no list"},
    };
    for (const auto& c : cases) {
      reply = client.Ask(c.line);
      EXPECT_FALSE(Ok(reply)) << c.line.constData();
      EXPECT_TRUE(ErrorOf(reply).contains(QLatin1String(c.error_part)))
          << c.line.constData() << " -> " << ErrorOf(reply).toStdString();
    }
  });
}

TEST_F(AutomationTest, ARequestSentAheadSeesWhatClosingTheWindowDid) {
  RunScript([](ScriptedClient& client) {
    ShowMacros(client);
    const int before = ItemCount(client.Ask(kMacroNames));
    ASSERT_TRUE(Ok(client.Ask(R"({"op":"click","page":"mouse","control":"macro_btn_name_add"})")));
    // Both lines at once: the second is taken after the first is answered, and the first is
    // answered once the confirmed question has made the macro.
    client.Send(R"({"op":"click","control":"confirm_btn"})"
                "\n"
                R"({"op":"state","page":"mouse","control":"macro_name_list"})");
    EXPECT_TRUE(Ok(client.Reply()));
    EXPECT_EQ(ItemCount(client.Reply()), before + 1);
  });
}

TEST_F(AutomationTest, AnOverlongLineEndsOnlyItsConnection) {
  RunScript([](ScriptedClient& client) {
    // Answered lines before it still count; the endless one is refused and the connection ends.
    client.Send(R"({"op":"version"})"
                "\n" +
                QByteArray(kAutomationMaxLine + 10, 'x'));
    EXPECT_TRUE(Ok(client.Reply()));
    const QJsonObject refused = client.Reply();
    EXPECT_FALSE(Ok(refused));
    EXPECT_TRUE(ErrorOf(refused).contains("too long")) << ErrorOf(refused).toStdString();
    EXPECT_TRUE(client.Reply(1000).isEmpty());  // nothing more: the connection has ended
  });
  EXPECT_TRUE(Ok(Ask(R"({"op":"version"})")));
}

}  // namespace
}  // namespace vorlin::test
