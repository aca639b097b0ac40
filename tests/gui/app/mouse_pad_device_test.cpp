// The mouse pad's device object against the emulated pad: what it reads when it starts, what a
// lighting change sends and keeps, how it follows the pad's own requests to be read again, and
// that it keeps working on the profile alone while the pad is away.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>

#include "devices/mouse_pad_device.h"
#include "hid/command_report.h"
#include "hid/device_link.h"
#include "lighting/light_control_ui.h"
#include "main_window_fixture.h"
#include "profiles/json_access.h"
#include "profiles/json_file_io.h"
#include "profiles/light_records.h"
#include "sim/emulated_peripheral.h"
#include "ui/device_key_button.h"

namespace vorlin {
namespace {

using Report = std::vector<uint8_t>;

// A 64-byte request: the 8-byte header as written, then the payload, zero-filled.
Report Request(std::initializer_list<uint8_t> header, std::span<const uint8_t> payload = {}) {
  Report r(kCommandReportSize, 0);
  std::copy(header.begin(), header.end(), r.begin());
  std::copy(payload.begin(), payload.end(), r.begin() + kCommandPayloadOffset);
  return r;
}

const Report kBeginConfig = Request({0x04, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00});
const Report kEndConfig = Request({0x04, 0x02, 0x00, 0x02, 0x00, 0x00, 0x00, 0x00});
const Report kReadInfo = Request({0x04, 0x25, 0x00, 0x03, 0x22, 0x00, 0x00, 0x00});
const Report kReadProfileNumber = Request({0x04, 0x06, 0x00, 0x05, 0x01, 0x00, 0x00, 0x00});
const Report kReadRecord = Request({0x04, 0x27, 0x00, 0x05, 0x22, 0x00, 0x00, 0x00});

// A record for the pad's profile 0: effect code 7, brightness 2, speed byte 1 (speed 3), a byte 4
// the program does not interpret, multicolour, a colour and twelve more uninterpreted bytes.
constexpr std::array<uint8_t, 21> kPadRecord = {0x00, 0x07, 0x02, 0x01, 0x5A, 0x01, 0x12,
                                                0x34, 0x56, 0x90, 0x91, 0x92, 0x93, 0x94,
                                                0x95, 0x96, 0x97, 0x98, 0x99, 0x9A, 0x9B};

class MousePadDeviceTest : public test::MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    ASSERT_TRUE(WaitShown({"mouse", "keyboard", "MousePad", "HD"}));
    pad_ = dynamic_cast<CHalvexMousePadDevice*>(DeviceOf("MousePad"));
    ASSERT_NE(pad_, nullptr);
    page_ = PageOf("MousePad");
    ASSERT_NE(page_, nullptr);
    // The start-up read ends by starting the lighting worker.
    ASSERT_TRUE(QTest::qWaitFor([&] { return pad_->LightingWorkerRunning(); }, 3000));
    panel_ = page_->LightPanel();
    ASSERT_NE(panel_, nullptr);
    emulator_.Bus()->ClearTrace();
  }

  // Command requests written to the pad since the trace was cleared.
  std::vector<Report> PadRequests() const {
    std::vector<Report> requests;
    for (const TraceRecord& record : emulator_.Bus()->Trace()) {
      if (record.direction == TraceDirection::ToDevice && record.productId == kPadProductId &&
          !record.bytes.empty() && record.bytes[0] == kCommandReportId)
        requests.push_back(record.bytes);
    }
    return requests;
  }
  std::string Trace() const { return emulator_.TraceText(); }

  // Whether the lighting panel shows the effect, brightness, speed and colour of `expected`.
  ::testing::AssertionResult PanelShows(const LightSettings& expected) const {
    const LightSettings shown = LightSettingsFromWords(panel_->GetLightWords(LightWords{}));
    if (shown.mode == expected.mode && shown.brightness == expected.brightness &&
        shown.speed == expected.speed && shown.red == expected.red &&
        shown.green == expected.green && shown.blue == expected.blue)
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the panel shows effect " << int(shown.mode) << ", brightness "
           << int(shown.brightness) << ", speed " << int(shown.speed) << ", colour "
           << int(shown.red) << "/" << int(shown.green) << "/" << int(shown.blue);
  }

  FirmwareMemory PadMemory() { return emulator_.MousePad().GetFirmware().Snapshot(); }
  std::vector<uint8_t> PadParams(size_t count = 21) {
    const FirmwareMemory memory = PadMemory();
    return {memory.params.begin(), memory.params.begin() + count};
  }
  void SetPadRecord(std::span<const uint8_t> record) {
    emulator_.MousePad().GetFirmware().Edit(
        [&](FirmwareMemory& m) { std::copy(record.begin(), record.end(), m.params.begin()); });
  }

  std::string ProfileText() const {
    return JsonFileIo::ReadTextFile(pad_->ProfileData().GetProfilePath());
  }
  const Json::Value LightInfoOnDisk() const {
    const Json::Value document = JsonFileIo::ReadJsonFile(pad_->ProfileData().GetProfilePath());
    return Member(Element(Member(document, "Device"), 0), "LightInfo");
  }

  // What a change on the lighting panel asks of the pad: one call that keeps, previews and
  // writes it.
  void ChangeLighting(const LightSettings& settings) { pad_->SetLighting(settings, true); }

  // The pad's device object shares the test's thread: the test calls into it directly.
  bool DeviceThreads() const override { return false; }

  CHalvexMousePadDevice* pad_ = nullptr;
  DevicePage* page_ = nullptr;
  CLightControlUI* panel_ = nullptr;
};

TEST_F(MousePadDeviceTest, StartingUpReadsTheInfoAndTheRecordThenPutsTheProfileOnTop) {
  SetPadRecord(kPadRecord);
  emulator_.MousePad().GetFirmware().Edit([](FirmwareMemory& m) { m.deviceInfo[20] = 0x77; });
  const std::string profile_before = ProfileText();

  pad_->ReadDeviceState();

  EXPECT_EQ(PadRequests(), (std::vector<Report>{kBeginConfig, kReadInfo, kEndConfig,
                                                kReadProfileNumber, kReadRecord}))
      << Trace();
  const FirmwareMemory memory = PadMemory();
  EXPECT_TRUE(std::equal(pad_->DeviceInfo().begin(), pad_->DeviceInfo().end(),
                         memory.deviceInfo.begin()));
  EXPECT_EQ(pad_->DeviceInfo()[20], 0x77);

  // The profile's lighting in the record and the words; the pad's other bytes as it has them.
  const LightSettings profile = pad_->ProfileData().GetLightSettings();
  const PadParamRecord::Bytes& kept = pad_->Record().Kept();
  const PadParamRecord::Bytes expected = {0x00, profile.mode, profile.brightness, profile.speed,
                                          0x5A, profile.multi_color, profile.red, profile.green,
                                          profile.blue, 0x90, 0x91, 0x92, 0x93, 0x94, 0x95,
                                          0x96, 0x97, 0x98, 0x99, 0x9A, 0x9B};
  EXPECT_EQ(kept, expected);
  EXPECT_EQ(pad_->GetLightWords(), LightSettingsToWords(profile));
  EXPECT_TRUE(PanelShows(profile));
  // Reading changed nothing on the pad or in the profile.
  EXPECT_EQ(PadParams(), std::vector<uint8_t>(kPadRecord.begin(), kPadRecord.end()));
  EXPECT_EQ(ProfileText(), profile_before);
  EXPECT_TRUE(pad_->LightingWorkerRunning());
  // The effect codes of the pad's modes.
  EXPECT_EQ(pad_->Record().EffectCodes(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(MousePadDeviceTest, AResyncTakesThePadsLightingIntoTheRecordAndTheWordsButNotTheProfile) {
  SetPadRecord(kPadRecord);
  pad_->Link().lightingHold = true;
  const LightSettings profile_before = pad_->ProfileData().GetLightSettings();
  const std::string text_before = ProfileText();
  const LightSettings words_before = LightSettingsFromWords(pad_->GetLightWords());

  pad_->ResyncFromDevice();

  EXPECT_EQ(PadRequests(), (std::vector<Report>{kReadProfileNumber, kReadRecord})) << Trace();
  EXPECT_FALSE(pad_->Link().lightingHold);
  const PadParamRecord& record = pad_->Record();
  EXPECT_EQ(record.Effect(), 7);
  EXPECT_EQ(record.Brightness(), 2);
  EXPECT_EQ(record.Speed(), 3);
  EXPECT_EQ(record.Kept()[4], 0x5A);

  LightSettings expected = words_before;  // direction and the rest stay
  expected.mode = 7;
  expected.brightness = 2;
  expected.speed = 3;
  expected.multi_color = 1;
  expected.red = 0x12;
  expected.green = 0x34;
  expected.blue = 0x56;
  EXPECT_EQ(LightSettingsFromWords(pad_->GetLightWords()), expected);
  EXPECT_TRUE(PanelShows(expected));

  EXPECT_EQ(pad_->ProfileData().GetLightSettings(), profile_before);
  EXPECT_EQ(ProfileText(), text_before);
}

TEST_F(MousePadDeviceTest, ARecordThePadCannotGiveChangesNothing) {
  SetPadRecord(kPadRecord);
  pad_->ResyncFromDevice();
  const PadParamRecord::Bytes kept = pad_->Record().Kept();
  const LightWords words = pad_->GetLightWords();
  // Profile 16's record would lie beyond the pad's parameter area: the pad refuses the read.
  emulator_.MousePad().GetFirmware().Edit([](FirmwareMemory& m) {
    m.params[0] = 16;
    m.params[1] = 2;
  });
  emulator_.Bus()->ClearTrace();

  int profile = -1;
  EXPECT_EQ(pad_->ReadParamRecord(&profile), kLinkStatusFailed);
  EXPECT_EQ(profile, 0);  // the kept one
  const Report read_16 = Request({0x04, 0x39, 0x00, 0x05, 0x22, 0x10, 0x02, 0x00});
  EXPECT_EQ(PadRequests(), (std::vector<Report>{kReadProfileNumber, read_16})) << Trace();
  EXPECT_EQ(pad_->Record().Kept(), kept);
  EXPECT_EQ(pad_->GetLightWords(), words);
}

TEST_F(MousePadDeviceTest, WritingSendsTheKeptRecordAtOffsetZeroByteForByte) {
  SetPadRecord(kPadRecord);
  pad_->ResyncFromDevice();
  // Something else on the pad meanwhile; the write puts the kept record back.
  emulator_.MousePad().GetFirmware().Edit([](FirmwareMemory& m) {
    m.params[1] = 3;
    m.params[3] = 4;
    m.params[10] = 0;
  });
  emulator_.Bus()->ClearTrace();

  EXPECT_EQ(pad_->WriteParamRecord(0, 0), 1);

  // 04, checksum 0x06 + 0x15 + the payload's sum = 0x081E, code 06, 21 bytes at offset 0.
  const Report write =
      Request({0x04, 0x1E, 0x08, 0x06, 0x15, 0x00, 0x00, 0x00}, std::span(kPadRecord));
  const std::vector<Report> expected = {kBeginConfig, write, kEndConfig};
  EXPECT_EQ(PadRequests(), expected) << Trace();
  EXPECT_EQ(PadParams(), std::vector<uint8_t>(kPadRecord.begin(), kPadRecord.end()));
  EXPECT_EQ(pad_->Record().Speed(), 3);  // the kept copy keeps the speed itself
  EXPECT_EQ(pad_->Record().Effect(), 7);

  // Once more without a change: the same reports.
  emulator_.Bus()->ClearTrace();
  EXPECT_EQ(pad_->WriteParamRecord(0, 0), 1);
  EXPECT_EQ(PadRequests(), expected) << Trace();
}

TEST_F(MousePadDeviceTest, AnUnknownEffectCodeGoesBackToThePadAsItCame) {
  std::array<uint8_t, 21> record = kPadRecord;
  record[1] = 0x30;
  SetPadRecord(record);
  pad_->ResyncFromDevice();
  EXPECT_EQ(pad_->Record().Effect(), 0x30);
  EXPECT_TRUE(pad_->Record().EffectIsRaw());
  emulator_.MousePad().GetFirmware().Edit([](FirmwareMemory& m) { m.params[1] = 0; });
  pad_->WriteParamRecord(0, 0);
  EXPECT_EQ(PadParams(), std::vector<uint8_t>(record.begin(), record.end())) << Trace();
}

TEST_F(MousePadDeviceTest, ALightingChangeReachesThePadAndTheProfile) {
  SetPadRecord(kPadRecord);
  pad_->ResyncFromDevice();
  emulator_.Bus()->ClearTrace();

  LightSettings settings = LightSettingsFromWords(pad_->GetLightWords());
  settings.mode = 6;
  settings.brightness = 3;
  settings.speed = 1;
  settings.multi_color = 0;
  settings.red = 0x10;
  settings.green = 0x20;
  settings.blue = 0x30;
  ChangeLighting(settings);

  const std::vector<uint8_t> params = PadParams();
  const std::vector<uint8_t> expected = {0x00, 0x06, 0x03, 0x03, 0x5A, 0x00, 0x10,
                                         0x20, 0x30, 0x90, 0x91, 0x92, 0x93, 0x94,
                                         0x95, 0x96, 0x97, 0x98, 0x99, 0x9A, 0x9B};
  EXPECT_EQ(params, expected) << Trace();
  const std::vector<Report> requests = PadRequests();
  ASSERT_EQ(requests.size(), 3u) << Trace();
  EXPECT_EQ(requests[0], kBeginConfig);
  EXPECT_EQ(requests[2], kEndConfig);

  const Json::Value info = LightInfoOnDisk();
  EXPECT_EQ(ReadInt(info, "SelectItem"), 6);
  EXPECT_EQ(ReadInt(info, "Light"), 3);
  EXPECT_EQ(ReadInt(info, "Speed"), 1);
  EXPECT_EQ(ReadInt(info, "MultiColor"), 0);
  EXPECT_EQ(ReadInt(info, "Red"), 0x10);
  EXPECT_EQ(ReadInt(info, "Green"), 0x20);
  EXPECT_EQ(ReadInt(info, "Blue"), 0x30);
  EXPECT_EQ(pad_->Record().Effect(), 6);
  EXPECT_EQ(pad_->Record().Speed(), 1);
  EXPECT_EQ(LightSettingsFromWords(pad_->GetLightWords()).mode, 6);

  // A custom effect (beyond the pad's modes) is the program's own: the pad keeps the effect it
  // runs, while the rest of the change reaches it.
  settings.mode = 12;
  settings.red = 0x44;
  ChangeLighting(settings);
  EXPECT_EQ(PadParams()[1], 0x06);
  EXPECT_EQ(PadParams()[6], 0x44);
  EXPECT_EQ(ReadInt(LightInfoOnDisk(), "SelectItem"), 12);
  EXPECT_EQ(pad_->Record().Effect(), 12);
}

TEST_F(MousePadDeviceTest, ThePadAskingToBeReadAgainIsReadHalfASecondLater) {
  ASSERT_TRUE(QTest::qWaitFor([&] { return pad_->EventInterfaceOpen(3); }, 2000));
  SetPadRecord(kPadRecord);
  emulator_.Bus()->ClearTrace();

  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(emulator_.MousePad().RequestResync());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !PadRequests().empty(); }, 3000)) << Trace();
  EXPECT_GE(clock.elapsed(), 495);
  EXPECT_EQ(PadRequests(), (std::vector<Report>{kReadProfileNumber, kReadRecord})) << Trace();
  EXPECT_EQ(pad_->Record().Effect(), 7);
  EXPECT_EQ(pad_->Record().Speed(), 3);

  // A full reload request means nothing to the pad.
  emulator_.Bus()->ClearTrace();
  ASSERT_TRUE(emulator_.MousePad().RequestFullReload());
  QTest::qWait(800);
  EXPECT_FALSE(pad_->Scheduler().Pending(DeviceScheduler::kResync));
  EXPECT_TRUE(PadRequests().empty()) << Trace();
}

TEST_F(MousePadDeviceTest, WithThePadAwayNothingIsSentAndTheRecordAndProfileStay) {
  SetPadRecord(kPadRecord);
  pad_->ResyncFromDevice();
  emulator_.MousePad().Cable().Unplug();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !pad_->LinkOpen(); }, 3000));
  emulator_.Bus()->ClearTrace();
  const PadParamRecord::Bytes kept = pad_->Record().Kept();
  const LightWords words = pad_->GetLightWords();
  const std::string text = ProfileText();

  int profile = -1;
  EXPECT_EQ(pad_->ReadParamRecord(&profile), 1);
  EXPECT_EQ(profile, 0);
  pad_->ResyncFromDevice();
  EXPECT_EQ(pad_->WriteParamRecord(0, 0), kLinkNoExchange);
  EXPECT_EQ(pad_->Record().Kept(), kept);
  EXPECT_EQ(pad_->GetLightWords(), words);
  EXPECT_EQ(ProfileText(), text);

  // The page goes on working on the profile alone.
  LightSettings settings = LightSettingsFromWords(words);
  settings.mode = 2;
  settings.green = 0xEE;
  ChangeLighting(settings);
  EXPECT_EQ(pad_->Record().Effect(), 2);
  EXPECT_EQ(pad_->Record().Kept()[7], 0xEE);
  EXPECT_EQ(ReadInt(LightInfoOnDisk(), "SelectItem"), 2);
  EXPECT_EQ(ReadInt(LightInfoOnDisk(), "Green"), 0xEE);
  EXPECT_TRUE(PadRequests().empty()) << Trace();
}

TEST_F(MousePadDeviceTest, AProfileChangedOnDiskIsReloadedAppliedAndShown) {
  const std::string path = pad_->ProfileData().GetProfilePath();
  Json::Value document = JsonFileIo::ReadJsonFile(path);
  Json::Value& info = document["Device"][0]["LightInfo"];
  info["SelectItem"] = 4;
  info["Speed"] = 0;
  info["Blue"] = 0x42;
  ASSERT_TRUE(JsonFileIo::WriteJsonFile(path, document));

  pad_->ReloadProfile();

  EXPECT_EQ(pad_->Record().Effect(), 4);
  EXPECT_EQ(pad_->Record().Speed(), 0);
  EXPECT_EQ(pad_->Record().Kept()[8], 0x42);
  const LightSettings words = LightSettingsFromWords(pad_->GetLightWords());
  EXPECT_EQ(words.mode, 4);
  EXPECT_EQ(words.blue, 0x42);
  EXPECT_TRUE(PanelShows(words));
  EXPECT_EQ(ReadInt(LightInfoOnDisk(), "SelectItem"), 4);
  EXPECT_TRUE(PadRequests().empty()) << Trace();  // reloading sends nothing by itself
}

TEST_F(MousePadDeviceTest, ThePadsLightsAreTheKeyButtonsOfItsPicture) {
  ASSERT_EQ(page_->KeyButtons().size(), 15u);
  EXPECT_EQ(page_->LightButtons().size(), 0u);
  for (int i = 0; i < 15; ++i) {
    const CDeviceKeyButtonUI* button = page_->KeyButtons()[static_cast<size_t>(i)];
    ASSERT_NE(button, nullptr) << i;
    EXPECT_EQ(button->objectName(), QStringLiteral("key_%1").arg(i));
  }
}

}  // namespace
}  // namespace vorlin
