// `vorlin ctl` as a script runs it: the built program started in a process of its own against the
// running window on the test's private bus; its exit codes, its output (text and JSON) and what
// its commands do to the devices and the pages.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "app/ctl_command.h"
#include "bus_fixture.h"
#include "lighting/light_control_ui.h"
#include "profile_bar/device_profile_ui.h"
#include "sim/firmware.h"

namespace vorlin {
namespace {

struct CtlRun {
  int exitCode = -1;
  QString out;
  QString err;
};

class CtlProgramTest : public test::BusFixture {
 protected:
  // Runs `vorlin ctl WORDS` while this thread goes on serving the window's bus calls.
  CtlRun Ctl(const QStringList& words,
             const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    if (!working_folder_.isEmpty()) process.setWorkingDirectory(working_folder_);
    process.start(QStringLiteral(VORLIN_PROGRAM), QStringList{QStringLiteral("ctl")} + words);
    CtlRun run;
    if (!process.waitForStarted(5000)) return run;
    if (!QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 30000)) {
      process.kill();
      process.waitForFinished(2000);
      return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
  }
  static QJsonObject Json(const CtlRun& run) {
    return QJsonDocument::fromJson(run.out.toUtf8()).object();
  }
  QString working_folder_;
};

// The emulated devices turn green from the command line while every page follows.
TEST_F(CtlProgramTest, LightCommandLightsEveryDeviceAndThePagesFollow) {
  const CtlRun run = Ctl({"light", "3", "--colour", "00ff00", "--brightness", "2"});
  ASSERT_EQ(run.exitCode, kCtlDone) << run.err.toStdString();
  EXPECT_EQ(run.out.count(QStringLiteral("lighting set")), 4) << run.out.toStdString();
  for (const char* product : {"mouse", "keyboard", "MousePad", "HD"}) {
    SCOPED_TRACE(product);
    const LightSettings light = PageOf(product)->Client().Lighting();
    EXPECT_EQ(light.red, 0);
    EXPECT_EQ(light.green, 0xFF);
    EXPECT_EQ(light.blue, 0);
    EXPECT_EQ(light.brightness, 2);
    EXPECT_EQ(PageOf(product)->LightPanel()->GetGreenText(), QStringLiteral("255"));
    EXPECT_EQ(ReadInt(Member(DeviceDocument(product), "LightInfo"), "Green"), 0xFF);
  }
  for (EmulatedPeripheral* device : {&emulator_.Mouse(), &emulator_.MousePad()}) {
    const std::vector<uint8_t> record = device->GetFirmware().Snapshot().params;
    EXPECT_EQ(record[6], 0x00);
    EXPECT_EQ(record[7], 0xFF);
    EXPECT_EQ(record[8], 0x00);
  }
}

TEST_F(CtlProgramTest, JsonOutputCarriesTheDevicesProfilesAndStages) {
  CtlRun run = Ctl({"list", "--json"});
  ASSERT_EQ(run.exitCode, kCtlDone) << run.err.toStdString();
  const QJsonArray devices = Json(run).value("devices").toArray();
  ASSERT_EQ(devices.size(), 4) << run.out.toStdString();
  EXPECT_EQ(devices[0].toObject().value("id").toString(), QStringLiteral("mouse"));
  EXPECT_EQ(devices[0].toObject().value("connection").toString(), QStringLiteral("cable"));
  EXPECT_EQ(devices[3].toObject().value("kind").toString(), QStringLiteral("headset"));

  run = Ctl({"profile", "--device", "keyboard", "--json"});
  ASSERT_EQ(run.exitCode, kCtlDone) << run.err.toStdString();
  const ProfileList& list = PageOf("keyboard")->ProfileBar()->List();
  EXPECT_EQ(Json(run).value("current").toInt(), list.SelectedIndex() + 1);
  EXPECT_EQ(Json(run).value("profiles").toArray().size(), list.Count());

  run = Ctl({"dpi", "--json"});  // the only mouse, without --device
  ASSERT_EQ(run.exitCode, kCtlDone) << run.err.toStdString();
  EXPECT_EQ(Json(run).value("device").toString(), QStringLiteral("mouse"));
  EXPECT_EQ(Json(run).value("current").toInt(), PageOf("mouse")->Client().CurrentDpiStage() + 1);
  EXPECT_EQ(Json(run).value("stages").toArray().size(),
            static_cast<qsizetype>(PageOf("mouse")->Client().DpiStages().size()));

  run = Ctl({"dpi", "2", "1200"});
  ASSERT_EQ(run.exitCode, kCtlDone) << run.err.toStdString();
  EXPECT_EQ(run.out, QStringLiteral("mouse: DPI stage 2 is 1200 DPI\n"));
}

TEST_F(CtlProgramTest, ExportAndImportTakeFilesRelativeToTheCallersFolder) {
  QTemporaryDir folder;
  working_folder_ = folder.path();
  CtlRun run = Ctl({"export", "saved.json", "--device", "MousePad"});
  ASSERT_EQ(run.exitCode, kCtlDone) << run.err.toStdString();
  EXPECT_TRUE(QFile::exists(folder.filePath("saved.json")));
  const int before = PageOf("MousePad")->ProfileBar()->List().Count();
  run = Ctl({"import", "saved.json", "--device", "MousePad", "--json"});
  ASSERT_EQ(run.exitCode, kCtlDone) << run.err.toStdString();
  EXPECT_EQ(Json(run).value("profile").toString(), QStringLiteral("saved"));
  EXPECT_EQ(Json(run).value("profile_index").toInt(), before + 1);
  EXPECT_EQ(PageOf("MousePad")->ProfileBar()->GetCurrentIndex() + 1, before + 1);
}

// Each failure has its own exit code and an English message on standard error.
TEST_F(CtlProgramTest, FailuresGiveTheirExitCodesAndMessages) {
  QProcessEnvironment no_bus = QProcessEnvironment::systemEnvironment();
  no_bus.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                QStringLiteral("unix:path=/nonexistent/vorlin-test-bus"));
  const struct {
    QStringList words;
    QProcessEnvironment environment;
    int exitCode;
    const char* said;
  } cases[] = {
      {{"bogus"}, no_bus, kCtlUsage, "Try 'vorlin ctl --help'"},
      {{"list"}, no_bus, kCtlNotRunning, "vorlin is not running; start it first."},
      {{"profile"},
       QProcessEnvironment::systemEnvironment(),
       kCtlUsage,
       "choose one with --device"},
      {{"profile", "--device", "toaster"},
       QProcessEnvironment::systemEnvironment(),
       kCtlNoDevice,
       "toaster"},
      {{"light", "99", "--device", "mouse"},
       QProcessEnvironment::systemEnvironment(),
       kCtlUsage,
       "effect must be"},
      {{"dpi", "--device", "keyboard"},
       QProcessEnvironment::systemEnvironment(),
       kCtlUsage,
       "no DPI stages"},
      {{"export", "/nonexistent/folder/p.json", "--device", "mouse"},
       QProcessEnvironment::systemEnvironment(),
       kCtlWriteFailed,
       "could not be written"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.words.join(' ').toStdString());
    const CtlRun run = Ctl(c.words, c.environment);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_TRUE(run.err.contains(QLatin1String(c.said))) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
  }
  const CtlRun help = Ctl({"--help"}, no_bus);
  EXPECT_EQ(help.exitCode, kCtlDone);
  EXPECT_TRUE(help.out.contains(QLatin1String("Exit codes:")));
}

}  // namespace
}  // namespace vorlin
