// The whole program in one process: the start-up screenshot and the automation interface.
#include <gtest/gtest.h>

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/app_session.h"
#include "app/main_window.h"

namespace vorlin {
namespace {

AppSessionOptions DemoOptions() {
  AppSessionOptions options;
  options.demo = true;
  options.useHidraw = false;
  options.useSessionBus = false;
  options.followSleep = false;
  return options;
}

TEST(ScreenshotTest, WritesThePictureAtEachScale) {
  const struct {
    int dpi;
    QSize size;
  } cases[] = {{96, {1000, 640}}, {144, {1500, 960}}};
  QTemporaryDir dir;
  for (const auto& c : cases) {
    AppSessionOptions options = DemoOptions();
    options.forcedDpi = c.dpi;
    options.screenshotPath = dir.filePath(QStringLiteral("shot-%1.png").arg(c.dpi));
    AppSession session(options);
    QSignalSpy finished(&session, &AppSession::Finished);
    QString error;
    ASSERT_TRUE(session.Start(&error)) << error.toStdString();
    ASSERT_TRUE(finished.wait(10000)) << c.dpi;
    EXPECT_EQ(finished.first().first().toInt(), 0);
    const QImage picture(options.screenshotPath);
    ASSERT_FALSE(picture.isNull()) << c.dpi;
    EXPECT_EQ(picture.size(), c.size);
    // The emulated devices are said to be emulated.
    EXPECT_TRUE(session.Emulated());
  }
}

TEST(ScreenshotTest, AnUnwritablePathEndsWithAnError) {
  AppSessionOptions options = DemoOptions();
  options.screenshotPath = QStringLiteral("/nonexistent-folder/shot.png");
  AppSession session(options);
  QSignalSpy finished(&session, &AppSession::Finished);
  QString error;
  ASSERT_TRUE(session.Start(&error));
  ASSERT_TRUE(finished.wait(10000));
  EXPECT_EQ(finished.first().first().toInt(), 1);
}

class AutomationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AppSessionOptions options = DemoOptions();
    options.automationPath = dir_.filePath(QStringLiteral("automation.sock"));
    session_ = std::make_unique<AppSession>(options);
    QString error;
    ASSERT_TRUE(session_->Start(&error)) << error.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([this] { return session_->MainWindow()->FirstPassSeen(); }, 5000));
    client_.connectToServer(options.automationPath);
    ASSERT_TRUE(client_.waitForConnected(2000));
  }

  QJsonObject Ask(const QByteArray& line) {
    client_.write(line + '\n');
    client_.flush();
    if (!QTest::qWaitFor([this] { return client_.canReadLine(); }, 5000)) return {};
    return QJsonDocument::fromJson(client_.readLine()).object();
  }

  QTemporaryDir dir_;
  std::unique_ptr<AppSession> session_;
  QLocalSocket client_;
};

TEST_F(AutomationTest, ClickAControlAndReadItsState) {
  QJsonObject reply = Ask(R"({"op":"version"})");
  EXPECT_TRUE(reply.value("ok").toBool());
  EXPECT_EQ(reply.value("protocol").toInt(), 1);
  EXPECT_EQ(reply.value("error").toString(), QString());

  reply = Ask(R"({"op":"state","control":"control_light_status"})");
  ASSERT_TRUE(reply.value("ok").toBool()) << reply.value("error").toString().toStdString();
  EXPECT_TRUE(reply.value("checked").toBool());
  const QString before = reply.value("text").toString();

  reply = Ask(R"({"op":"click","control":"control_light_status"})");
  ASSERT_TRUE(reply.value("ok").toBool()) << reply.value("error").toString().toStdString();
  EXPECT_EQ(session_->MainWindow()->LightControl(), 0);
  reply = Ask(R"({"op":"state","control":"control_light_status"})");
  EXPECT_FALSE(reply.value("checked").toBool());
  EXPECT_NE(reply.value("text").toString(), before);

  reply = Ask(R"({"op":"state","control":"No_device_Link"})");
  EXPECT_TRUE(reply.value("ok").toBool());
  EXPECT_FALSE(reply.value("visible").toBool());
  reply = Ask(R"({"op":"state","control":"emulated_label"})");
  EXPECT_TRUE(reply.value("visible").toBool());
}

TEST_F(AutomationTest, BadRequestsAreAnsweredWithAnError) {
  const struct {
    QByteArray line;
    const char* error_part;
  } cases[] = {
      {"not json", "JSON"},
      {R"({"op":"fly"})", "unknown op"},
      {R"({"control":"closebtn"})", "\"op\""},
      {R"({"op":"click"})", "\"control\""},
      {R"({"op":"click","control":"no_such_control"})", "no control"},
      {R"({"op":"click","control":"restorebtn"})", "not visible"},  // hidden: a user cannot
      {R"({"op":"value","control":"closebtn","value":3})", "no value"},
      {R"({"op":"text","control":"closebtn","text":"x"})", "not an edit"},
      {R"({"op":"screenshot"})", "\"path\""},
  };
  for (const auto& c : cases) {
    const QJsonObject reply = Ask(c.line);
    EXPECT_FALSE(reply.value("ok").toBool(true)) << c.line.constData();
    EXPECT_TRUE(reply.value("error").toString().contains(QLatin1String(c.error_part)))
        << c.line.constData() << " -> " << reply.value("error").toString().toStdString();
  }
  // The connection still serves.
  EXPECT_TRUE(Ask(R"({"op":"version"})").value("ok").toBool());
}

TEST_F(AutomationTest, ScreenshotAndQuit) {
  const QString path = dir_.filePath(QStringLiteral("auto.png"));
  QJsonObject reply = Ask(QStringLiteral(R"({"op":"screenshot","path":"%1"})").arg(path).toUtf8());
  ASSERT_TRUE(reply.value("ok").toBool()) << reply.value("error").toString().toStdString();
  EXPECT_EQ(QImage(path).size(), QSize(1000, 640));
  QSignalSpy finished(session_.get(), &AppSession::Finished);
  reply = Ask(R"({"op":"quit"})");
  EXPECT_TRUE(reply.value("ok").toBool());
  ASSERT_TRUE(finished.wait(5000));
  EXPECT_EQ(finished.first().first().toInt(), 0);
}

}  // namespace
}  // namespace vorlin
