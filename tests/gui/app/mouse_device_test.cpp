// The mouse's device object against the emulated mouse, by cable and through its receiver: what
// it reads when it starts, the parameter record it writes, the key table, macro and shoot images,
// the mouse's own events, and what it does when the mouse misbehaves.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QLabel>
#include <QProgressBar>
#include <QTest>

#include <filesystem>
#include <fstream>

#include "devices/mouse_device.h"
#include "hid/command_report.h"
#include "hid/device_link.h"
#include "mouse_fixture.h"
#include "ui/find_control.h"
#include "profiles/json_access.h"
#include "profiles/json_file_io.h"
#include "profiles/profile_folders.h"
#include "sim/emulated_peripheral.h"

namespace vorlin {
namespace {

using Report = std::vector<uint8_t>;

Report Request(uint8_t code, uint8_t length, uint16_t offset, std::span<const uint8_t> data = {}) {
  const CommandReport r = MakeCommandReport(code, length, offset, data);
  return Report(r.begin(), r.end());
}

class MouseDeviceTest : public test::MouseFixture {};

TEST_F(MouseDeviceTest, ReadingTheMouseReadsInfoTablesAndRecord) {
  mouse_->ReadDeviceState();
  const std::vector<Report> expected = {
      Request(kCmdBeginConfig, 0, 0),
      Request(kCmdReadDeviceInfo, 34, 0),
      Request(kCmdReadDefaultKeyTable, 45, 0),
      Request(kCmdReadKeyTable, 45, 0),
      Request(kCmdEndConfig, 0, 0),
      Request(kCmdReadParams, 1, 0),
      Request(kCmdReadParams, 56, 0),
      Request(kCmdReadParams, 39, 56),
  };
  EXPECT_EQ(Requests(kMouseCableProductId), expected) << Trace();

  const FirmwareMemory memory = Memory();
  EXPECT_EQ(mouse_->DeviceInfo()[5], 15);
  EXPECT_TRUE(std::equal(memory.keyTable.begin(), memory.keyTable.begin() + 45,
                         mouse_->CurrentKeyTable().begin()));
  const ButtonSlotMap map = {{0, 0}, {1, 1}, {2, 2}, {3, 4}, {4, 3}, {5, 5}, {6, 6}, {7, 7},
                               {8, 10}, {9, 9}, {10, 8}, {11, 170}, {12, 170}, {13, 170},
                               {14, 170}};
  EXPECT_EQ(mouse_->SlotMap(), map);
  // The factory record: DPI stage 1 of six, stage 0 at code 7, polling stage 3.
  EXPECT_EQ(mouse_->CurrentDpiStage(), 1);
  ASSERT_EQ(mouse_->DpiStages().size(), 6u);
  EXPECT_EQ(mouse_->DpiStages()[0].dpi_x, 7);
  EXPECT_EQ(mouse_->DpiStages()[5].dpi_x, 47);
  EXPECT_EQ(mouse_->SystemSettings().report_stage, 3);
  EXPECT_EQ(mouse_->LightState().brightness, 4);
  EXPECT_EQ(mouse_->LightState().speed, 2);
}

TEST_F(MouseDeviceTest, ADpiStageChangedInTheProfileReachesTheMouseAndTheDocument) {
  // Bytes the program does not interpret, as the mouse holds them.
  emulator_.Mouse().GetFirmware().Edit([](FirmwareMemory& m) {
    m.params[10] = 0xA5;
    for (int i = 68; i < 92; ++i) m.params[i] = static_cast<uint8_t>(i);
  });
  ASSERT_EQ(mouse_->ReadParamRecord(), 1);
  const FirmwareMemory read = Memory();
  const std::vector<uint8_t> before(read.params.begin(), read.params.begin() + 95);

  CMouseProfiledata& profile = mouse_->MouseProfile();
  std::vector<DpiStage> stages = profile.GetDpiStages();
  ASSERT_EQ(stages.size(), 6u);
  stages[2].dpi_x = 0x0123;
  stages[2].dpi_y = 0x0123;
  profile.SetDpiStages(stages);
  profile.SetCurrentDpiStage(2);
  mouse_->SaveProfile();
  emulator_.Bus()->ClearTrace();
  ASSERT_EQ(mouse_->WriteParamRecord(0, 0), 1);

  std::vector<uint8_t> expected = before;
  expected[4] = profile.GetLightSettings().direction;  // the direction is written, never read
  expected[12] = 2;
  expected[14 + 18 + 2] = 0x23, expected[14 + 18 + 3] = 0x01;
  expected[14 + 18 + 4] = 0x23, expected[14 + 18 + 5] = 0x01;
  const FirmwareMemory memory = Memory();
  EXPECT_EQ(std::vector<uint8_t>(memory.params.begin(), memory.params.begin() + 95), expected);
  // By cable: two chunks of 56 and 39 bytes inside the configuration bracket.
  const std::vector<Report> requests = {
      Request(kCmdBeginConfig, 0, 0),
      Request(kCmdWriteParams, 56, 0, std::span(expected).first(56)),
      Request(kCmdWriteParams, 39, 56, std::span(expected).subspan(56, 39)),
      Request(kCmdEndConfig, 0, 0),
  };
  EXPECT_EQ(Requests(kMouseCableProductId), requests) << Trace();

  const Json::Value document = JsonFileIo::ReadJsonFile(profile.GetProfilePath());
  const Json::Value& dpi = Member(Element(Member(document, "Device"), 0), "DPIStages");
  EXPECT_EQ(ReadInt(dpi, "StageActive"), 2);
  EXPECT_EQ(ReadInt(Element(Member(dpi, "StageDPIs"), 2), "StageDPIX"), 0x0123);
}

TEST_F(MouseDeviceTest, ThroughTheReceiverTheRecordGoesInSmallerChunksAfterEachProbe) {
  SwitchToReceiver();
  CMouseProfiledata& profile = mouse_->MouseProfile();
  std::vector<DpiStage> stages = profile.GetDpiStages();
  stages[0].dpi_x = 0x0456;
  profile.SetDpiStages(stages);
  ASSERT_EQ(mouse_->WriteParamRecord(0, 0), 1);

  const FirmwareMemory memory = Memory();
  const std::vector<uint8_t> record(memory.params.begin(), memory.params.begin() + 95);
  EXPECT_EQ(record[14 + 2], 0x56);
  EXPECT_EQ(record[14 + 3], 0x04);
  const Report probe = Request(kCmdProbeWireless, 0, 0);
  const std::vector<Report> requests = {
      probe,
      Request(kCmdBeginConfig, 0, 0),
      probe,
      Request(kCmdWriteParams, 24, 0, std::span(record).first(24)),
      Request(kCmdWriteParams, 24, 24, std::span(record).subspan(24, 24)),
      Request(kCmdWriteParams, 24, 48, std::span(record).subspan(48, 24)),
      Request(kCmdWriteParams, 23, 72, std::span(record).subspan(72, 23)),
      probe,
      Request(kCmdEndConfig, 0, 0),
  };
  EXPECT_EQ(Requests(kMouseReceiverProductId, true), requests) << Trace();

  // A mouse switched off behind its receiver fails the link check: nothing is written.
  emulator_.Mouse().SetPoweredOn(false);
  emulator_.Bus()->ClearTrace();
  EXPECT_EQ(mouse_->WriteParamRecord(0, 0), 0);
  EXPECT_EQ(CountOf(kMouseReceiverProductId, kCmdWriteParams), 0);
}

TEST_F(MouseDeviceTest, TheMouseAskingToBeReadAgainIsReadFiftyMillisecondsLater) {
  emulator_.Mouse().GetFirmware().Edit([](FirmwareMemory& m) { m.params[12] = 4; });
  ASSERT_TRUE(emulator_.Mouse().RequestResync());
  ASSERT_TRUE(QTest::qWaitFor([&] { return mouse_->CurrentDpiStage() == 4; }, 2000)) << Trace();
  const Json::Value document = JsonFileIo::ReadJsonFile(mouse_->ProfileData().GetProfilePath());
  EXPECT_EQ(ReadInt(Member(Element(Member(document, "Device"), 0), "DPIStages"), "StageActive"), 4);
}

TEST_F(MouseDeviceTest, ProfileAndStageButtonsOfTheMouseRefreshThePage) {
  QSignalSpy refreshed(mouse_, &CHalvexUSBDevice::viewChanged);
  // Each button's event refreshes the page once the mouse's state shows what the event says.
  const auto refreshesWith = [&](bool sent, int profile, int stage) {
    refreshed.clear();
    return sent && QTest::qWaitFor(
                       [&] {
                         return !refreshed.isEmpty() && mouse_->LightState().profile == profile &&
                                mouse_->Record().CurrentDpiStage() == stage;
                       },
                       2000);
  };
  const int stage = mouse_->Record().CurrentDpiStage();
  EXPECT_TRUE(refreshesWith(emulator_.Mouse().SwitchProfile(3), 3, stage)) << Trace();
  EXPECT_TRUE(refreshesWith(emulator_.Mouse().SwitchStage(2), 3, 2));  // 0x1123
  EXPECT_TRUE(refreshesWith(emulator_.Mouse().SendEvent(0x1005), 5, 2));
  // Another kind of setting event: only the page refresh.
  EXPECT_TRUE(refreshesWith(emulator_.Mouse().SendEvent(0x1205), 5, 2));
}

TEST_F(MouseDeviceTest, AClickLightsTheReactivePreviewOnlyUnderTheReactiveEffect) {
  LightSettings light = mouse_->MouseProfile().GetLightSettings();
  light.mode = 3;  // steady: a click changes nothing
  light.brightness = 4;
  light.red = 0xFF;
  mouse_->MouseProfile().SetLightSettings(light);
  mouse_->ApplyLighting();
  ASSERT_TRUE(emulator_.Mouse().Click());
  QTest::qWait(100);
  const uint32_t steady = mouse_->Frame().GetKeyColor(0);

  light.mode = 6;
  light.speed = 0;  // the slowest fade: the full level lasts long enough to be seen by polling
  mouse_->MouseProfile().SetLightSettings(light);
  mouse_->ApplyLighting();
  ASSERT_TRUE(QTest::qWaitFor([&] { return FrameEntryLevel(mouse_->Frame().GetKeyColor(0)) == 0; }, 1000));
  // The click comes through the cable's event interface, which discovery binds on its own time.
  ASSERT_TRUE(QTest::qWaitFor([&] { return mouse_->EventInterfaceOpen(2); }, 2000));
  ASSERT_TRUE(emulator_.Mouse().Click());
  ASSERT_TRUE(QTest::qWaitFor([&] { return FrameEntryLevel(mouse_->Frame().GetKeyColor(0)) > 200; }, 1000))
      << std::hex << mouse_->Frame().GetKeyColor(0) << " (steady was " << steady << ")";
  EXPECT_EQ(FrameEntryColor(mouse_->Frame().GetKeyColor(0)), (Rgb{0xFF, light.green, light.blue}));
  // ...and fades to dark again.
  EXPECT_TRUE(QTest::qWaitFor([&] { return FrameEntryLevel(mouse_->Frame().GetKeyColor(0)) == 0; }, 2000));
}

TEST_F(MouseDeviceTest, MacroCallsAreWrittenAsImagePositionsAndMissingMacrosAsDefaults) {
  WriteFile("macro.config",
            R"({"MacroInfo": [{"MacroName": "a", "Guid": "m0"}, {"MacroName": "b", "Guid": "m1"},
                              {"MacroName": "c", "Guid": "m2"}]})");
  WriteFile("m1.mac", R"({"Events": [{"Action": "down", "Type": 10, "Button": 4, "Delay": "20"},
                                     {"Action": "up", "Type": 10, "Button": 4, "Delay": "300"}]})");
  std::vector<KeyAssignmentPair> keys = mouse_->KeyList();
  ASSERT_GE(keys.size(), 11u);
  keys[0].current.code = {0x70, 3, 0};  // macro 3 of 3: not there
  keys[1].current.code = {0x70, 1, 0};  // macro 1: image position 0
  keys[3].current.code = {0x71, 1, 2};  // forward (slot 4) calls it again
  for (size_t i = 0; i < keys.size(); ++i) mouse_->SetKeyEntry(static_cast<int>(i), keys[i]);
  EXPECT_EQ(mouse_->ListUsedMacros(), std::vector<int>{1});
  ASSERT_EQ(mouse_->DownloadMacros(mouse_->ListUsedMacros()), 0);
  ASSERT_EQ(mouse_->StoreKeyAssignments(), 1);

  const FirmwareMemory memory = Memory();
  const std::vector<uint8_t> table(memory.keyTable.begin(), memory.keyTable.begin() + 15);
  const std::vector<uint8_t> expected = {0x10, 0x01, 0x00, 0x70, 0x00, 0x00, 0x10, 0x04, 0x00,
                                         0x10, 0x08, 0x00, 0x71, 0x00, 0x02};
  EXPECT_EQ(table, expected);
  const std::vector<uint8_t> image = {0xAA, 0x55, 30, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                      18, 0, 2, 0, 0, 0, 20, 0, 0x8A, 4, 0x2C, 1, 0x0A, 4};
  EXPECT_EQ(std::vector<uint8_t>(memory.macro.begin(), memory.macro.begin() + 30), image);
  EXPECT_EQ(CountOf(kMouseCableProductId, kCmdBeginConfig), 2);
  EXPECT_EQ(CountOf(kMouseCableProductId, kCmdEndConfig), 2);

  // Too large for 128 bytes of macro memory: 16 + 6 + 4 x 40 = 182 bytes, 14 events over.
  std::string events;
  for (int i = 0; i < 40; ++i)
    events += std::string(i ? "," : "") + R"({"Action": "up", "Type": 10, "Button": 4, "Delay": "1"})";
  WriteFile("m2.mac", "{\"Events\": [" + events + "]}");
  emulator_.Mouse().GetFirmware().Edit([](FirmwareMemory& m) { m.deviceInfo[6] = 1; });
  mouse_->ReadDeviceState();
  emulator_.Bus()->ClearTrace();
  EXPECT_EQ(mouse_->DownloadMacros(std::vector<int>{2}), 14);
  EXPECT_EQ(CountOf(kMouseCableProductId, kCmdWriteMacroData), 0);
}

TEST_F(MouseDeviceTest, TheFourRecoilPatternsGoOutAsOneImage) {
  WriteFile("ShootData_0.Shoot", R"({"Events": [{"Action": "down", "Type": 5, "Button": 3,
                                                 "Delay": "10"}]})");
  for (const char* name : {"ShootData_1.Shoot", "ShootData_2.Shoot", "ShootData_3.Shoot"})
    std::filesystem::remove(UserFile(name));
  ASSERT_EQ(mouse_->DownloadShootData(), 1);
  const FirmwareMemory memory = Memory();
  // 16 + 6 x 4 + 4 = 44 bytes; patterns 1 to 3 have no file and no events.
  const std::vector<uint8_t> image = {0xAA, 0x55, 44, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                      24, 0, 32, 0, 36, 0, 40, 0,
                                      1, 0, 0, 0, 10, 0, 0x85, 3,
                                      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(std::vector<uint8_t>(memory.shoot.begin(), memory.shoot.begin() + 44), image);
}

TEST_F(MouseDeviceTest, AButtonMissingFromTheFactoryTableIsNeverWritten) {
  // The fire key's factory code (slot 8) is not one the page knows.
  emulator_.Mouse().GetFirmware().Edit([](FirmwareMemory& m) { m.defaultKeyTable[26] = 0x03; });
  mouse_->ReadDeviceState();
  EXPECT_EQ(mouse_->SlotMap().at(10), 170);
  std::vector<KeyAssignmentPair> keys = mouse_->KeyList();
  keys[10].current.code = {0x10, 0x01, 0x00};
  keys[0].current.code = {0x10, 0x02, 0x00};
  ASSERT_EQ(mouse_->StoreKeyAssignments(0, keys), 1);
  const FirmwareMemory memory = Memory();
  EXPECT_EQ(memory.keyTable[0], 0x10);
  EXPECT_EQ(memory.keyTable[1], 0x02);
  EXPECT_EQ(std::vector<uint8_t>(memory.keyTable.begin() + 24, memory.keyTable.begin() + 27),
            (std::vector<uint8_t>{0x14, 0x78, 0x03}));
}

TEST_F(MouseDeviceTest, AKeyCountBeyondTheKeyTableLeavesTheTablesAndWritesNothing) {
  const ButtonSlotMap map = mouse_->SlotMap();
  emulator_.Mouse().GetFirmware().Edit([](FirmwareMemory& m) { m.deviceInfo[5] = 171; });
  mouse_->ReadDeviceState();
  EXPECT_EQ(mouse_->SlotMap(), map);
  EXPECT_EQ(mouse_->DeviceInfo()[5], 15);
  EXPECT_EQ(CountOf(kMouseCableProductId, kCmdReadDefaultKeyTable), 0);
  EXPECT_EQ(mouse_->StoreKeyAssignments(), 0);
  EXPECT_EQ(CountOf(kMouseCableProductId, kCmdWriteKeyTable), 0);
  // The configuration the read began is ended.
  EXPECT_EQ(CountOf(kMouseCableProductId, kCmdBeginConfig),
            CountOf(kMouseCableProductId, kCmdEndConfig));
}

TEST_F(MouseDeviceTest, AMouseThatStopsAnsweringCostsOnlyTheTimeouts) {
  const ButtonSlotMap map = mouse_->SlotMap();
  const MouseParamRecord::Bytes record = mouse_->Record().Kept();
  emulator_.Mouse().Cable().DropReplies(1000);
  QElapsedTimer clock;
  clock.start();
  mouse_->ReadDeviceState();
  EXPECT_EQ(mouse_->ReadParamRecord(), 0);
  EXPECT_EQ(mouse_->StoreKeyAssignments(), 0);
  // Each step stops at the first unanswered exchange, which waits out the link's two reads: the
  // configuration start and the device information, the profile number (twice) and the device
  // information again.
  EXPECT_LT(clock.elapsed(), 5 * 2 * kWiredTimeoutMs + 1500);
  EXPECT_EQ(mouse_->SlotMap(), map);
  EXPECT_EQ(mouse_->Record().Kept(), record);

  emulator_.Mouse().Cable().ClearFaults();
  mouse_->ReadDeviceState();
  EXPECT_EQ(mouse_->ReadParamRecord(), 1);
}

TEST_F(MouseDeviceTest, ThePowerPanelShowsTheBatteryAndTheReceiver) {
  emulator_.Mouse().SetBattery(72, 2);
  SwitchToReceiver();
  QWidget* panel = page_->PowerPanel();
  ASSERT_NE(panel, nullptr);
  auto* value = FindControl<QLabel>(panel, QStringLiteral("device_power_value"));
  auto* bar = FindControl<QProgressBar>(panel, QStringLiteral("device_Power_progress"));
  auto* logo = FindControl<QLabel>(panel, QStringLiteral("device_wuxian_logo"));
  auto* state = FindControl<QLabel>(panel, QStringLiteral("device_power_status"));
  ASSERT_TRUE(value && bar && logo && state);
  ASSERT_TRUE(QTest::qWaitFor([&] { return value->text() == QStringLiteral("72%"); }, 5000))
      << value->text().toStdString();
  EXPECT_EQ(bar->value(), 28);  // the part used
  EXPECT_FALSE(logo->isHidden());
  EXPECT_FALSE(bar->isHidden());
  EXPECT_FALSE(state->pixmap().isNull());  // the skin's drawing of "power/power.png"

  // Charging by cable: no wireless mark; the bar stays as it is while the mark was shown.
  emulator_.Mouse().SetBattery(40, 1);
  emulator_.Mouse().Cable().Plug();
  ASSERT_TRUE(QTest::qWaitFor([&] { return value->text() == QStringLiteral("40%"); }, 8000))
      << value->text().toStdString();
  EXPECT_TRUE(logo->isHidden());
}

}  // namespace
}  // namespace vorlin
