// The whole program in one process: the start-up screenshot and the automation interface.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/app_session.h"
#include "app/main_window.h"
#include "app/real_device_watch.h"
#include "automation_fixture.h"
#include "devices/device_client.h"
#include "devices/device_manager.h"
#include "devices/usb_device.h"
#include "pages/device_option.h"
#include "pages/device_page.h"
#include "profiles/light_records.h"
#include "sim/device_emulator.h"
#include "sim/firmware.h"

namespace vorlin {
namespace {

using test::AutomationTest;
using test::DemoOptions;
using test::ErrorOf;

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

TEST(StandInTest, TheEmulatedDevicesLeaveWhenARealOneIsPluggedIn) {
  AppSessionOptions options = DemoOptions();
  options.demo = false;  // no device at start: the emulated ones stand in
  bool plugged = false;
  options.realDeviceWatch = [&plugged] {
    return std::make_unique<RealDeviceWatch>([&plugged] { return plugged; }, nullptr,
                                             std::chrono::milliseconds(10));
  };
  AppSession session(options);
  QSignalSpy finished(&session, &AppSession::Finished);
  QString error;
  ASSERT_TRUE(session.Start(&error)) << error.toStdString();
  EXPECT_TRUE(session.Emulated());
  ASSERT_TRUE(QTest::qWaitFor([&] { return session.MainWindow()->FirstPassSeen(); }, 5000));
  QTest::qWait(50);
  EXPECT_TRUE(finished.isEmpty());
  // The run ends so that the program starts again on the real device.
  plugged = true;
  ASSERT_TRUE(finished.wait(5000));
  EXPECT_EQ(finished.first().first().toInt(), kRestartOnRealDevices);
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

// The device page of `data_name` in the session's window.
DevicePage* PageNamed(AppSession& session, const QString& data_name) {
  for (DevicePage* page : session.MainWindow()->Pages()) {
    if (QString::fromStdString(page->Product().dataName) == data_name) return page;
  }
  return nullptr;
}

// The device object behind it (read only through its atomics: it runs on its own thread).
CHalvexUSBDevice* DeviceNamed(AppSession& session, const QString& data_name) {
  DeviceManager* devices = session.MainWindow()->Devices();
  const std::optional<size_t> index = devices->Catalogue().FindByDataName(data_name.toStdString());
  return index ? devices->Device(*index) : nullptr;
}

TEST_F(AutomationTest, WindowGoesIntoTheTrayAndComesBack) {
  QWidget* window = session_->MainWindow()->Window();
  CHalvexUSBDevice* mouse = DeviceNamed(*session_, QStringLiteral("mouse"));
  ASSERT_NE(mouse, nullptr);
  ASSERT_TRUE(window->isVisible());
  // Every interface bound first: an interface arriving later brings the window to the front.
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return mouse->EventInterfaceOpen(2) && mouse->LinkOpen(); }, 5000));
  QTest::qWait(300);
  // Asked twice, the window stays where it was sent: the op is not a toggle.
  for (int n = 0; n < 2; ++n) {
    const QJsonObject reply = Ask(R"({"op":"window","shown":false})");
    ASSERT_TRUE(reply.value("ok").toBool()) << ErrorOf(reply).toStdString();
    EXPECT_FALSE(reply.value("shown").toBool(true));
    EXPECT_FALSE(window->isVisible()) << n;
    EXPECT_TRUE(mouse->WindowHidden()) << n;  // the devices are told, as by the tray icon
    EXPECT_FALSE(Ask(R"({"op":"state","control":"root"})").value("visible").toBool(true));
  }
  for (int n = 0; n < 2; ++n) {
    const QJsonObject reply = Ask(R"({"op":"window","shown":true})");
    ASSERT_TRUE(reply.value("ok").toBool()) << ErrorOf(reply).toStdString();
    EXPECT_TRUE(reply.value("shown").toBool());
    EXPECT_TRUE(window->isVisible() && !window->isMinimized()) << n;
    EXPECT_FALSE(mouse->WindowHidden()) << n;
  }
  // A minimised window is sent to the tray too, and comes back from there.
  window->showMinimized();
  EXPECT_TRUE(Ask(R"({"op":"window","shown":false})").value("ok").toBool());
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(Ask(R"({"op":"window","shown":true})").value("shown").toBool());
  EXPECT_FALSE(window->isMinimized());

  for (const QByteArray& line :
       {QByteArray(R"({"op":"window"})"), QByteArray(R"({"op":"window","shown":"no"})")}) {
    const QJsonObject reply = Ask(line);
    EXPECT_FALSE(reply.value("ok").toBool(true)) << line.constData();
    EXPECT_TRUE(ErrorOf(reply).contains(QLatin1String("\"shown\"")))
        << ErrorOf(reply).toStdString();
  }
}

TEST_F(AutomationTest, PageLimitsTheLookupToOneDevicePage) {
  DevicePage* headset = PageNamed(*session_, QStringLiteral("HD"));
  ASSERT_NE(headset, nullptr);
  ASSERT_NE(headset->Option(), nullptr);
  ASSERT_FALSE(headset->Option()->IsSelected());  // the first page (the mouse's) is shown
  // The effect list of every page has the same name: without a page the first one is found.
  QJsonObject reply = Ask(R"({"op":"state","page":"HD","control":"light_combo_modeSelect"})");
  ASSERT_TRUE(reply.value("ok").toBool()) << ErrorOf(reply).toStdString();
  EXPECT_FALSE(reply.value("visible").toBool(true));
  reply = Ask(R"({"op":"select","page":"HD","control":"light_combo_modeSelect","index":1})");
  EXPECT_TRUE(ErrorOf(reply).contains(QLatin1String("not visible")))
      << ErrorOf(reply).toStdString();

  // The page's option in the selector strip belongs to the page.
  reply = Ask(R"({"op":"select","page":"HD","control":"device_select","selected":true})");
  ASSERT_TRUE(reply.value("ok").toBool()) << ErrorOf(reply).toStdString();
  EXPECT_TRUE(headset->Option()->IsSelected());
  EXPECT_EQ(session_->MainWindow()->SelectedPage(), headset);
  EXPECT_TRUE(Ask(R"({"op":"state","page":"HD","control":"light_combo_modeSelect"})")
                  .value("visible")
                  .toBool());
  EXPECT_FALSE(Ask(R"({"op":"state","page":"mouse","control":"light_combo_modeSelect"})")
                   .value("visible")
                   .toBool(true));

  for (const int effect : {1, 3}) {
    reply = Ask(QStringLiteral(
                    R"({"op":"select","page":"HD","control":"light_combo_modeSelect","index":%1})")
                    .arg(effect)
                    .toUtf8());
    ASSERT_TRUE(reply.value("ok").toBool()) << ErrorOf(reply).toStdString();
    EXPECT_EQ(headset->Client().Lighting().mode, effect);
    reply = Ask(R"({"op":"state","page":"HD","control":"light_combo_modeSelect"})");
    EXPECT_EQ(reply.value("value").toInt(), effect);
  }

  const struct {
    QByteArray line;
    const char* error_part;
  } cases[] = {
      {R"({"op":"state","page":"toaster","control":"light_combo_modeSelect"})", "no page"},
      {R"({"op":"state","page":"","control":"light_combo_modeSelect"})", "\"page\""},
      {R"({"op":"state","page":7,"control":"light_combo_modeSelect"})", "\"page\""},
      {R"({"op":"click","page":"HD","control":"closebtn"})", "on page \"HD\""},  // the window's
  };
  for (const auto& c : cases) {
    reply = Ask(c.line);
    EXPECT_FALSE(reply.value("ok").toBool(true)) << c.line.constData();
    EXPECT_TRUE(ErrorOf(reply).contains(QLatin1String(c.error_part)))
        << c.line.constData() << " -> " << ErrorOf(reply).toStdString();
  }
}

TEST_F(AutomationTest, FramesCountsThePaintsOfTheSelectedPicture) {
  // The first request starts the count.
  QJsonObject reply = Ask(R"({"op":"frames"})");
  ASSERT_TRUE(reply.value("ok").toBool()) << ErrorOf(reply).toStdString();
  EXPECT_TRUE(reply.value("started").toBool());
  EXPECT_EQ(reply.value("page").toString(), QStringLiteral("mouse"));
  EXPECT_TRUE(reply.value("visible").toBool());

  // An effect that changes every step: the picture is painted again and again.
  reply = Ask(R"({"op":"select","page":"mouse","control":"light_combo_modeSelect","index":1})");
  ASSERT_TRUE(reply.value("ok").toBool()) << ErrorOf(reply).toStdString();
  Ask(R"({"op":"frames"})");
  QTest::qWait(1000);
  reply = Ask(R"({"op":"frames"})");
  ASSERT_TRUE(reply.value("ok").toBool()) << ErrorOf(reply).toStdString();
  EXPECT_FALSE(reply.value("started").toBool(true));
  const double elapsed = reply.value("elapsed_ms").toDouble();
  const double gap = reply.value("max_gap_ms").toDouble();
  EXPECT_GE(elapsed, 1000.0);
  EXPECT_GE(reply.value("frames").toInt(), 5);
  EXPECT_GT(gap, 0.0);
  EXPECT_LT(gap, elapsed);

  // In the tray nothing is painted: the whole interval is one gap.
  ASSERT_TRUE(Ask(R"({"op":"window","shown":false})").value("ok").toBool());
  Ask(R"({"op":"frames","page":"mouse"})");
  QTest::qWait(300);
  reply = Ask(R"({"op":"frames","page":"mouse"})");
  ASSERT_TRUE(reply.value("ok").toBool()) << ErrorOf(reply).toStdString();
  EXPECT_FALSE(reply.value("visible").toBool(true));
  EXPECT_EQ(reply.value("frames").toInt(), 0);
  EXPECT_DOUBLE_EQ(reply.value("max_gap_ms").toDouble(), reply.value("elapsed_ms").toDouble());
  EXPECT_GE(reply.value("elapsed_ms").toDouble(), 300.0);

  reply = Ask(R"({"op":"frames","page":"toaster"})");
  EXPECT_TRUE(ErrorOf(reply).contains(QLatin1String("no page"))) << ErrorOf(reply).toStdString();
}

}  // namespace
}  // namespace vorlin

namespace vorlin {
namespace {

// Demo mode's devices keep their memory between runs, as real devices do: the lighting chosen on
// the emulated mouse is there at the next start (the device's state wins over the profile at
// start-up, so factory memory would bring the factory effect back).
class DemoMemoryRestartTest : public ::testing::Test {
 protected:
  // One run of the window: `act` is called with the mouse page once the mouse has been read.
  template <typename Act>
  void Run(Act act) {
    AppSessionOptions options = DemoOptions();
    options.emulatedMemoryFolder = memory_.path();
    options.automationPath = memory_.filePath(QStringLiteral("automation.sock"));
    AppSession session(options);
    QString error;
    ASSERT_TRUE(session.Start(&error)) << error.toStdString();
    ASSERT_TRUE(
        QTest::qWaitFor([&session] { return session.MainWindow()->FirstPassSeen(); }, 5000));
    DevicePage* mouse = PageNamed(session, QStringLiteral("mouse"));
    ASSERT_NE(mouse, nullptr);
    QLocalSocket client;
    client.connectToServer(options.automationPath);
    ASSERT_TRUE(client.waitForConnected(2000));
    const auto ask = [&client](const QByteArray& line) {
      client.write(line + '\n');
      client.flush();
      if (!QTest::qWaitFor([&client] { return client.canReadLine(); }, 5000)) return QJsonObject();
      return QJsonDocument::fromJson(client.readLine()).object();
    };
    act(session, *mouse, ask);
    session.MainWindow()->Quit();
  }
  QTemporaryDir memory_;
};

TEST_F(DemoMemoryRestartTest, TheMouseKeepsItsLightingAcrossARestart) {
  int factory = -1;
  int chosen = -1;
  Run([&](AppSession& session, DevicePage& mouse, const auto& ask) {
    ASSERT_TRUE(QTest::qWaitFor([&mouse] { return mouse.Client().View().deviceRead; }, 5000));
    factory = mouse.Client().Lighting().mode;
    chosen = factory == 3 ? 4 : 3;
    const FirmwareMemory before = session.Emulator()->Mouse().GetFirmware().Snapshot();
    const QJsonObject reply =
        ask(QStringLiteral(
                R"({"op":"select","page":"mouse","control":"light_combo_modeSelect","index":%1})")
                .arg(chosen)
                .toUtf8());
    ASSERT_TRUE(reply.value("ok").toBool()) << ErrorOf(reply).toStdString();
    // The device thread writes the change to the mouse.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
          return session.Emulator()->Mouse().GetFirmware().Snapshot().params != before.params;
        },
        5000));
  });
  ASSERT_FALSE(HasFailure());
  const QString image = memory_.filePath(QStringLiteral("mouse.firmware"));
  ASSERT_TRUE(QFile::exists(image));

  // The profile says `chosen` too; only what the mouse says once read tells the runs apart.
  Run([&](AppSession&, DevicePage& mouse, const auto&) {
    ASSERT_TRUE(QTest::qWaitFor([&mouse] { return mouse.Client().View().deviceRead; }, 5000));
    EXPECT_EQ(mouse.Client().Lighting().mode, chosen);
  });

  // A damaged image is no image: the mouse starts from its factory memory (and its effect wins
  // over the profile's at start-up).
  QFile damaged(image);
  ASSERT_TRUE(damaged.resize(damaged.size() - 1));
  Run([&](AppSession&, DevicePage& mouse, const auto&) {
    ASSERT_TRUE(QTest::qWaitFor([&mouse] { return mouse.Client().View().deviceRead; }, 5000));
    EXPECT_EQ(mouse.Client().Lighting().mode, factory);
  });
}

}  // namespace
}  // namespace vorlin
