// The devices' members of the session-bus interface, called as a script calls them, with the
// emulated devices on their own threads: each change reaches the device (its memory, as the
// reports wrote it), the profile document and the page on screen; refused calls name the fault and
// change nothing; devices coming and going, profile switches and the battery are signalled.
#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "bus_fixture.h"
#include "lighting/light_control_ui.h"
#include "mouse_settings/dpi_codes.h"
#include "profile_bar/device_profile_ui.h"
#include "sim/firmware.h"

namespace vorlin {
namespace {

// The effect number of steady light in each product's effect list.
struct ProductLighting {
  const char* product;
  int steady;
};
constexpr ProductLighting kProducts[] = {{"mouse", 3}, {"keyboard", 6}, {"MousePad", 3}, {"HD", 3}};

// The mouse's parameter record: the colour at 6-8, brightness at 2, the current DPI stage at 12
// and stage i's X code (little-endian) at 14 + 9i + 2.
constexpr size_t kRecordRed = 6;
constexpr size_t kRecordBrightness = 2;
constexpr size_t kRecordStage = 12;
size_t StageCodeAt(int stage) {
  return 14 + 9 * static_cast<size_t>(stage) + 2;
}

// Every signal of the interface, as another program sees it.
class SignalRecorder : public QObject {
  Q_OBJECT
 public:
  QList<QDBusMessage> seen;
  bool Has(const QString& member, const QVariantList& args) const {
    for (const QDBusMessage& m : seen) {
      if (m.member() == member && m.arguments() == args) return true;
    }
    return false;
  }
 public slots:
  void OnSignal(const QDBusMessage& message) { seen << message; }
};

class BusApiTest : public test::BusFixture {
 protected:
  QList<QVariantMap> Devices() {
    const QDBusMessage reply = Call(QStringLiteral("ListDevices"));
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << test::Describe(reply);
    if (reply.arguments().isEmpty()) return {};
    return qdbus_cast<QList<QVariantMap>>(reply.arguments().first());
  }
  QStringList Ids() {
    QStringList ids;
    for (const QVariantMap& device : Devices()) ids << device.value("id").toString();
    return ids;
  }
  std::vector<uint8_t> MouseRecord() { return emulator_.Mouse().GetFirmware().Snapshot().params; }
  void Listen(SignalRecorder& recorder) {
    for (const char* name : {"DeviceAdded", "DeviceRemoved", "ProfileChanged", "BatteryChanged"}) {
      ASSERT_TRUE(client_->connect(QString(), QLatin1String(ShellBus::kObjectPath),
                                   QLatin1String(ShellBus::kInterface), QLatin1String(name),
                                   &recorder, SLOT(OnSignal(QDBusMessage))));
    }
    // The match rules are in place at the bus once a call has gone there and back.
    Call(QStringLiteral("ListDevices"));
  }
  bool WaitFor(const SignalRecorder& recorder, const QString& member, const QVariantList& args,
               int timeoutMs = 5000) {
    return QTest::qWaitFor([&] { return recorder.Has(member, args); }, timeoutMs);
  }
};

TEST_F(BusApiTest, ListsTheShownDevicesWithConnectionProfileAndVersion) {
  qDBusRegisterMetaType<QList<QVariantMap>>();
  const QList<QVariantMap> devices = Devices();
  QStringList ids;
  for (const QVariantMap& device : devices) {
    const QString id = device.value("id").toString();
    ids << id;
    const CDeviceProfileUI* bar = PageOf(id.toLatin1().constData())->ProfileBar();
    EXPECT_EQ(device.value("connection").toString(), QStringLiteral("cable")) << id.toStdString();
    EXPECT_EQ(device.value("profile_index").toInt(), bar->List().SelectedIndex() + 1);
    EXPECT_EQ(device.value("profile").toString().toStdString(),
              bar->List().Names()[static_cast<size_t>(bar->List().SelectedIndex())]);
  }
  EXPECT_EQ(ids, (QStringList{"mouse", "keyboard", "MousePad", "HD"}));
  ASSERT_EQ(devices.size(), 4);
  EXPECT_EQ(devices[0].value("kind").toString(), QStringLiteral("mouse"));
  EXPECT_EQ(devices[0].value("product").toString(), QStringLiteral("320f:225e"));
  EXPECT_EQ(devices[2].value("kind").toString(), QStringLiteral("mousepad"));
  EXPECT_EQ(devices[3].value("product").toString(), QStringLiteral("0c76:1630"));
  // Only the mouse reports a battery.
  EXPECT_TRUE(devices[0].contains("battery"));
  EXPECT_FALSE(devices[1].contains("battery"));

  QDBusMessage get = QDBusMessage::createMethodCall(
      QLatin1String(ShellBus::kService), QLatin1String(ShellBus::kObjectPath),
      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
  get.setArguments({QLatin1String(ShellBus::kInterface), QStringLiteral("Version")});
  QDBusPendingCallWatcher watcher(client_->asyncCall(get));
  QSignalSpy done(&watcher, &QDBusPendingCallWatcher::finished);
  if (!watcher.isFinished()) done.wait(5000);
  ASSERT_EQ(watcher.reply().type(), QDBusMessage::ReplyMessage) << test::Describe(watcher.reply());
  EXPECT_EQ(watcher.reply().arguments()[0].value<QDBusVariant>().variant().toUInt(),
            kDeviceBusVersion);
}

// The lighting goes the lighting panel's way on every page: the effect, colour, brightness and
// speed in the profile, on the panel, and in the mouse's and the pad's own records.
TEST_F(BusApiTest, LightingReachesTheProfileThePanelAndTheDevice) {
  for (const ProductLighting& p : kProducts) {
    SCOPED_TRACE(p.product);
    const QDBusMessage reply = Call(QStringLiteral("SetLighting"),
                                    {QString::fromLatin1(p.product), p.steady, 0x10C020, 3, 1});
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << test::Describe(reply);
    const Json::Value light = Member(DeviceDocument(p.product), "LightInfo");
    EXPECT_EQ(ReadInt(light, "SelectItem"), p.steady);
    EXPECT_EQ(ReadInt(light, "Red"), 0x10);
    EXPECT_EQ(ReadInt(light, "Green"), 0xC0);
    EXPECT_EQ(ReadInt(light, "Blue"), 0x20);
    EXPECT_EQ(ReadInt(light, "Light"), 3);
    EXPECT_EQ(ReadInt(light, "Speed"), 1);
    const CLightControlUI* panel = PageOf(p.product)->LightPanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->GetMode(), p.steady);
    EXPECT_EQ(panel->GetBrightness(), 3);
    EXPECT_EQ(panel->GetSpeed(), 1);
    EXPECT_EQ(panel->GetGreenText(), QStringLiteral("192"));
  }
  for (EmulatedPeripheral* device : {&emulator_.Mouse(), &emulator_.MousePad()}) {
    const std::vector<uint8_t> record = device->GetFirmware().Snapshot().params;
    EXPECT_EQ(record[kRecordRed], 0x10);
    EXPECT_EQ(record[kRecordRed + 1], 0xC0);
    EXPECT_EQ(record[kRecordRed + 2], 0x20);
    EXPECT_EQ(record[kRecordBrightness], 3);
  }

  // -1 keeps a value: only the colour changes.
  ASSERT_EQ(
      Call(QStringLiteral("SetLighting"), {QStringLiteral("MOUSE"), -1, 0xFF0000, -1, -1}).type(),
      QDBusMessage::ReplyMessage);
  const Json::Value light = Member(DeviceDocument("mouse"), "LightInfo");
  EXPECT_EQ(ReadInt(light, "SelectItem"), 3);
  EXPECT_EQ(ReadInt(light, "Red"), 0xFF);
  EXPECT_EQ(ReadInt(light, "Light"), 3);
  EXPECT_EQ(MouseRecord()[kRecordRed], 0xFF);
}

TEST_F(BusApiTest, DpiStageValuesAndTheCurrentStageReachTheMouseTheProfileAndThePage) {
  DeviceClient& client = PageOf("mouse")->Client();
  const DpiScale scale = DpiScaleFromDeviceInfo(client.DeviceInfo());
  ASSERT_TRUE(scale.Known());
  const std::optional<int> found = DpiCodeFromEditText(scale, "1650");
  ASSERT_TRUE(found);
  const int code = *found;

  QDBusMessage reply = Call(QStringLiteral("SetDpiValue"), {QStringLiteral("mouse"), 2, 1650});
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << test::Describe(reply);
  EXPECT_EQ(reply.arguments()[0].toInt(), ShownDpi(scale, code));
  std::vector<uint8_t> record = MouseRecord();
  EXPECT_EQ(record[StageCodeAt(1)] | (record[StageCodeAt(1) + 1] << 8), code);
  EXPECT_EQ(client.DpiStages()[1].dpi_x, code);
  const Json::Value stages = Member(DeviceDocument("mouse"), "DPIStages");
  EXPECT_EQ(ReadInt(Element(Member(stages, "StageDPIs"), 1), "StageDPIX"), code);

  reply = Call(QStringLiteral("SetDpiStage"), {QStringLiteral("mouse"), 4});
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << test::Describe(reply);
  EXPECT_EQ(MouseRecord()[kRecordStage], 3);
  EXPECT_EQ(client.CurrentDpiStage(), 3);
  EXPECT_EQ(ReadInt(Member(DeviceDocument("mouse"), "DPIStages"), "StageActive"), 3);

  reply = Call(QStringLiteral("GetDpi"), {QStringLiteral("mouse")});
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << test::Describe(reply);
  EXPECT_EQ(reply.arguments()[0].toInt(), 4);
  const QList<int> values = qdbus_cast<QList<int>>(reply.arguments()[1]);
  ASSERT_EQ(values.size(), static_cast<qsizetype>(client.DpiStages().size()));
  EXPECT_EQ(values[1], ShownDpi(scale, code));
}

// Export, import and a switch by index and by name, as the profile bar's menu and combo do them:
// the bar shows the current profile, the mouse gets its settings, listeners hear of the switch.
TEST_F(BusApiTest, ProfilesAreExportedImportedAndAppliedByIndexAndName) {
  SignalRecorder recorder;
  Listen(recorder);
  QTemporaryDir folder;
  const QString file = folder.filePath(QStringLiteral("red.json"));
  CDeviceProfileUI* bar = PageOf("mouse")->ProfileBar();
  const int first = bar->List().SelectedIndex() + 1;

  ASSERT_EQ(
      Call(QStringLiteral("SetLighting"), {QStringLiteral("mouse"), 3, 0xFF0000, -1, -1}).type(),
      QDBusMessage::ReplyMessage);
  QDBusMessage reply = Call(QStringLiteral("ExportProfile"), {QStringLiteral("mouse"), file});
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << test::Describe(reply);
  const Json::Value exported = JsonFileIo::ReadJsonFile(file.toStdString());
  EXPECT_EQ(ReadInt(Member(Element(Member(exported, "Device"), 0), "LightInfo"), "Red"), 0xFF);
  ASSERT_EQ(
      Call(QStringLiteral("SetLighting"), {QStringLiteral("mouse"), 3, 0x0000FF, -1, -1}).type(),
      QDBusMessage::ReplyMessage);

  reply = Call(QStringLiteral("ImportProfile"), {QStringLiteral("mouse"), file});
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << test::Describe(reply);
  const int imported = reply.arguments()[0].toInt();
  const QString name = reply.arguments()[1].toString();
  EXPECT_EQ(name, QStringLiteral("red"));
  EXPECT_EQ(imported, bar->List().Count());
  EXPECT_EQ(bar->GetCurrentIndex() + 1, imported);
  EXPECT_EQ(MouseRecord()[kRecordRed], 0xFF);
  EXPECT_TRUE(WaitFor(recorder, "ProfileChanged", {QStringLiteral("mouse"), imported, name}));

  reply = Call(QStringLiteral("GetProfiles"), {QStringLiteral("mouse")});
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << test::Describe(reply);
  EXPECT_EQ(reply.arguments()[0].toStringList().size(), bar->List().Count());
  EXPECT_EQ(reply.arguments()[0].toStringList().last(), name);
  EXPECT_EQ(reply.arguments()[1].toInt(), imported);

  reply = Call(QStringLiteral("ApplyProfile"), {QStringLiteral("mouse"), QString::number(first)});
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << test::Describe(reply);
  EXPECT_EQ(reply.arguments()[0].toInt(), first);
  EXPECT_EQ(bar->GetCurrentIndex() + 1, first);
  EXPECT_EQ(MouseRecord()[kRecordRed], 0x00);  // the blue of the first profile
  EXPECT_EQ(MouseRecord()[kRecordRed + 2], 0xFF);

  reply = Call(QStringLiteral("ApplyProfile"), {QStringLiteral("mouse"), name});
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << test::Describe(reply);
  EXPECT_EQ(reply.arguments()[0].toInt(), imported);
  EXPECT_EQ(bar->GetCurrentIndex() + 1, imported);
  EXPECT_EQ(MouseRecord()[kRecordRed], 0xFF);
  EXPECT_TRUE(WaitFor(recorder, "ProfileChanged",
                      {QStringLiteral("mouse"), first, bar->List().Names()[first - 1].c_str()}));
}

TEST_F(BusApiTest, RefusedCallsNameTheFaultAndChangeNothing) {
  const QString mouse = QStringLiteral("mouse");
  const QString no_device = QLatin1String(kBusErrorNoDevice);
  const QString invalid = QLatin1String(kBusErrorInvalidArgument);
  const QString write_failed = QLatin1String(kBusErrorWriteFailed);
  QTemporaryDir folder;
  const QString not_a_profile = folder.filePath(QStringLiteral("notes.json"));
  {
    QFile notes(not_a_profile);
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("{\"shopping\": [\"milk\"]}");
  }
  const QString unwritable = folder.filePath(QStringLiteral("missing/folder/p.json"));
  const struct {
    const char* method;
    QVariantList args;
    QString error;
  } cases[] = {
      {"SetLighting", {QStringLiteral("toaster"), 1, -1, -1, -1}, no_device},
      {"GetProfiles", {QStringLiteral("toaster")}, no_device},
      {"SetLighting", {QString(), 1, -1, -1, -1}, invalid},  // several devices: name one
      {"SetLighting", {mouse, 99, -1, -1, -1}, invalid},
      {"SetLighting", {mouse, -2, -1, -1, -1}, invalid},
      {"SetLighting", {mouse, 1, 0x1000000, -1, -1}, invalid},
      {"SetLighting", {mouse, 1, -1, 5, -1}, invalid},
      {"SetLighting", {mouse, 1, -1, -1, 9}, invalid},
      {"GetDpi", {QStringLiteral("keyboard")}, invalid},
      {"SetDpiStage", {mouse, 0}, invalid},
      {"SetDpiStage", {mouse, 7}, invalid},
      {"SetDpiValue", {mouse, 1, 50}, invalid},
      {"SetDpiValue", {mouse, 1, 26050}, invalid},
      {"SetDpiValue", {mouse, 9, 800}, invalid},
      {"ApplyProfile", {mouse, QStringLiteral("no such profile")}, invalid},
      {"ApplyProfile", {mouse, QStringLiteral("0")}, invalid},
      {"ExportProfile", {mouse, QStringLiteral("relative.json")}, invalid},
      {"ExportProfile", {mouse, unwritable}, write_failed},
      {"ImportProfile", {mouse, folder.filePath(QStringLiteral("absent.json"))}, invalid},
      {"ImportProfile", {mouse, not_a_profile}, invalid},
  };
  const std::vector<uint8_t> record = MouseRecord();
  const Json::Value document = DeviceDocument("mouse");
  const int profiles = PageOf("mouse")->ProfileBar()->List().Count();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.method) + " " +
                 QVariant(c.args).toStringList().join(' ').toStdString());
    const QDBusMessage reply = Call(QLatin1String(c.method), c.args);
    ASSERT_EQ(reply.type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(reply.errorName(), c.error) << reply.errorMessage().toStdString();
    EXPECT_FALSE(reply.errorMessage().isEmpty());
  }
  EXPECT_EQ(MouseRecord(), record);
  EXPECT_EQ(DeviceDocument("mouse"), document);
  EXPECT_EQ(PageOf("mouse")->ProfileBar()->List().Count(), profiles);
  EXPECT_FALSE(QFile::exists(unwritable));
  // A message box would have waited for the user: none is open.
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(BusApiTest, DevicesComingAndGoingAndTheBatteryAreSignalled) {
  SignalRecorder recorder;
  Listen(recorder);
  emulator_.MousePad().Cable().Unplug();
  EXPECT_TRUE(WaitFor(recorder, "DeviceRemoved", {QStringLiteral("MousePad")}));
  EXPECT_EQ(Ids(), (QStringList{"mouse", "keyboard", "HD"}));
  const QDBusMessage reply =
      Call(QStringLiteral("SetLighting"), {QStringLiteral("MousePad"), 1, -1, -1, -1});
  EXPECT_EQ(reply.errorName(), QLatin1String(kBusErrorNoDevice));

  ASSERT_TRUE(emulator_.MousePad().Cable().Plug());
  EXPECT_TRUE(WaitFor(recorder, "DeviceAdded", {QStringLiteral("MousePad")}));
  EXPECT_EQ(Ids(), (QStringList{"mouse", "keyboard", "MousePad", "HD"}));

  emulator_.Mouse().SetBattery(57, 2);
  EXPECT_TRUE(WaitFor(recorder, "BatteryChanged", {QStringLiteral("mouse"), 57}, 8000));
  for (const QVariantMap& device : Devices()) {
    if (device.value("id") == QStringLiteral("mouse")) {
      EXPECT_EQ(device.value("battery").toInt(), 57);
    }
  }
}

}  // namespace
}  // namespace vorlin

#include "bus_api_test.moc"
