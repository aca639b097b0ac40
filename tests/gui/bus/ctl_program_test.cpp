// `vorlin ctl` as a script runs it: the built program started in a process of its own against the
// running window on the test's private bus; its exit codes, its output (text and JSON) and what
// its commands do to the devices and the pages.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "app/ctl_command.h"
#include "profiles/profile_list.h"
#include "shell/single_instance.h"
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

// Runs `vorlin ctl WORDS` while this thread goes on serving Qt events (the window's bus calls).
CtlRun RunProgram(const QStringList& words, const QProcessEnvironment& environment,
                  const QString& working_folder = QString()) {
  QProcess process;
  process.setProcessEnvironment(environment);
  if (!working_folder.isEmpty()) process.setWorkingDirectory(working_folder);
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

QJsonObject Json(const CtlRun& run) {
  return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

class CtlProgramTest : public test::BusFixture {
 protected:
  CtlRun Ctl(const QStringList& words,
             const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    return RunProgram(words, environment, working_folder_);
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

// Without the running program, `vorlin ctl` opens the devices itself: here the emulated ones
// (--demo), in a home of the test's own and without a session bus.
class CtlOwnDevicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(home_.isValid());
    ASSERT_TRUE(QDir().mkpath(RuntimeFolder()));
    QFile::setPermissions(RuntimeFolder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner);
    environment_ = QProcessEnvironment::systemEnvironment();
    environment_.insert(QStringLiteral("HOME"), home_.path());
    environment_.insert(QStringLiteral("XDG_DATA_HOME"), home_.filePath(QStringLiteral("data")));
    environment_.insert(QStringLiteral("XDG_CONFIG_HOME"),
                        home_.filePath(QStringLiteral("config")));
    environment_.insert(QStringLiteral("XDG_RUNTIME_DIR"), RuntimeFolder());
    environment_.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                        QStringLiteral("unix:path=/nonexistent/vorlin-test-bus"));
  }
  CtlRun Ctl(const QStringList& words) {
    return RunProgram(QStringList{QStringLiteral("--demo")} + words, environment_, home_.path());
  }
  QString RuntimeFolder() const { return home_.filePath(QStringLiteral("run")); }
  // The emulated product's current profile document in the demo folder.
  Json::Value DemoDocument(const char* product) const {
    const QString folder = home_.filePath(QStringLiteral("data/vorlin/demo/%1").arg(product));
    ProfileList list;
    list.SetFolders(folder.toStdString() + "/", std::string());
    if (!list.Load()) return {};
    return Element(Member(JsonFileIo::ReadJsonFile(list.DocumentPath(list.SelectedIndex())),
                          "Device"),
                   0);
  }

  QTemporaryDir home_;
  QProcessEnvironment environment_;
};

// Each change reaches the device and the profile: a later run, which reads the devices afresh,
// finds the DPI the mouse was given; the lighting is in every product's profile document.
TEST_F(CtlOwnDevicesTest, ChangesReachTheDevicesAndTheirProfilesWithoutTheWindow) {
  CtlRun run = Ctl({"list", "--json"});
  ASSERT_EQ(run.exitCode, kCtlDone) << run.err.toStdString();
  EXPECT_EQ(Json(run).value("devices").toArray().size(), 4) << run.out.toStdString();

  run = Ctl({"light", "3", "--colour", "00ff00", "--brightness", "2"});
  ASSERT_EQ(run.exitCode, kCtlDone) << run.err.toStdString();
  EXPECT_EQ(run.out.count(QStringLiteral("lighting set")), 4) << run.out.toStdString();
  for (const char* product : {"mouse", "keyboard", "MousePad", "HD"}) {
    SCOPED_TRACE(product);
    const Json::Value light = Member(DemoDocument(product), "LightInfo");
    EXPECT_EQ(ReadInt(light, "Green"), 0xFF);
    EXPECT_EQ(ReadInt(light, "Red"), 0);
  }

  run = Ctl({"dpi", "3", "1800"});
  ASSERT_EQ(run.exitCode, kCtlDone) << run.err.toStdString();
  run = Ctl({"dpi", "3"});
  ASSERT_EQ(run.exitCode, kCtlDone) << run.err.toStdString();
  run = Ctl({"dpi", "--json"});
  ASSERT_EQ(run.exitCode, kCtlDone) << run.err.toStdString();
  EXPECT_EQ(Json(run).value("current").toInt(), 3);
  EXPECT_EQ(Json(run).value("stages").toArray().at(2).toInt(), 1800) << run.out.toStdString();
}

TEST_F(CtlOwnDevicesTest, ProfilesAreExportedImportedAndSwitched) {
  CtlRun run = Ctl({"export", "saved.json", "--device", "keyboard"});
  ASSERT_EQ(run.exitCode, kCtlDone) << run.err.toStdString();
  run = Ctl({"import", "saved.json", "--device", "keyboard", "--json"});
  ASSERT_EQ(run.exitCode, kCtlDone) << run.err.toStdString();
  EXPECT_EQ(Json(run).value("profile_index").toInt(), 2);
  run = Ctl({"profile", "1", "--device", "keyboard"});
  ASSERT_EQ(run.exitCode, kCtlDone) << run.err.toStdString();
  run = Ctl({"profile", "--device", "keyboard", "--json"});
  ASSERT_EQ(run.exitCode, kCtlDone) << run.err.toStdString();
  EXPECT_EQ(Json(run).value("current").toInt(), 1);
  EXPECT_EQ(Json(run).value("profiles").toArray().size(), 2);
}

// The program holds the devices (here it runs without a session bus): the command is refused
// and nothing is opened or written.
TEST_F(CtlOwnDevicesTest, RefusedWhileTheProgramHoldsTheDevices) {
  SingleInstance program(RuntimeFolder());
  ASSERT_EQ(program.Acquire(), SingleInstance::Role::kFirst);
  const CtlRun run = Ctl({"light", "2", "--colour", "ff0000"});
  EXPECT_EQ(run.exitCode, kCtlNotRunning);
  EXPECT_TRUE(run.err.contains(QLatin1String("cannot be reached"))) << run.err.toStdString();
  EXPECT_FALSE(QDir(home_.filePath(QStringLiteral("data/vorlin/demo"))).exists());
}

}  // namespace
}  // namespace vorlin
