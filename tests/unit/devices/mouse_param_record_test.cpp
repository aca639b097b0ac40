// The mouse's kept parameter record: what a read keeps and gives the profile, what a write
// sends, and that the bytes the program does not interpret survive.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "devices/mouse_param_record.h"

namespace vorlin {
namespace {

using Bytes = MouseParamRecord::Bytes;
// The mouse's effect codes by effect number (the factory list is not the identity).
const std::vector<int> kCodes = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
const std::vector<int> kShuffled = {3, 0, 1, 2, 9, 5};

// A record as the mouse answers it: every byte distinct.
Bytes DeviceRecord() {
  Bytes r{};
  for (size_t i = 0; i < r.size(); ++i) r[i] = static_cast<uint8_t>(0x20 + i);
  return r;
}

MouseParamRecord Read(const Bytes& bytes, std::vector<int> codes, uint8_t profile = 0) {
  MouseParamRecord record;
  record.SetEffectCodes(std::move(codes));
  EXPECT_TRUE(record.TakeRead(bytes, profile));
  return record;
}

TEST(MouseParamRecordTest, AReadKeepsTheRecordWithProfileNumberAndClearedByteNine) {
  const Bytes device = DeviceRecord();
  const MouseParamRecord record = Read(device, kCodes, 3);
  Bytes expected = device;
  expected[0] = 3;
  expected[9] = 0;
  EXPECT_EQ(record.Kept(), expected);

  MouseParamRecord refused;
  EXPECT_FALSE(refused.TakeRead(std::span<const uint8_t>(device.data(), 94), 0));
  EXPECT_EQ(refused.Kept(), Bytes{});
}

TEST(MouseParamRecordTest, TheEffectCodeReadsAsItsPositionInTheCodeList) {
  struct Case {
    const char* what;
    std::vector<int> codes;
    uint8_t code;
    uint8_t number;
  };
  const std::vector<Case> cases = {
      {"identity list", kCodes, 6, 6},
      {"shuffled list", kShuffled, 9, 4},
      {"first equal entry wins", {7, 2, 2}, 2, 1},
      {"no equal entry: kept as it is", kShuffled, 0x42, 0x42},
      {"no list", {}, 5, 5},
  };
  for (const Case& c : cases) {
    Bytes device = DeviceRecord();
    device[1] = c.code;
    EXPECT_EQ(Read(device, c.codes).EffectNumber(), c.number) << c.what;
  }
}

TEST(MouseParamRecordTest, TheLightStateSettingsAndStagesComeFromTheRecord) {
  Bytes device{};
  device[1] = 2;      // effect code -> number 3 in kShuffled
  device[2] = 4;      // brightness
  device[3] = 1;      // speed 3
  device[4] = 1;      // direction, not read back
  device[5] = 1;      // multicolour
  device[6] = 0x11, device[7] = 0x22, device[8] = 0x33;
  device[11] = 3;     // polling-rate stage
  device[12] = 2;     // current DPI stage
  device[13] = 1;     // silent altitude
  device[14 + 9 * 5 + 0] = 1;  // stage 5: enabled, X/Y, X 0x1234, Y 0x0056, colour
  device[14 + 9 * 5 + 1] = 1;
  device[14 + 9 * 5 + 2] = 0x34, device[14 + 9 * 5 + 3] = 0x12;
  device[14 + 9 * 5 + 4] = 0x56;
  device[14 + 9 * 5 + 6] = 0xAA, device[14 + 9 * 5 + 7] = 0xBB, device[14 + 9 * 5 + 8] = 0xCC;
  device[92] = 1, device[93] = 0, device[94] = 1;
  const MouseParamRecord record = Read(device, kShuffled, 2);

  EXPECT_EQ(record.LightState(), (MouseLightState{2, 3, 4, 3, 1, 0x11, 0x22, 0x33}));
  MouseSystemSettings before;
  before.double_click_time = 500;
  before.linear_calibration = 1;
  MouseSystemSettings expected = before;
  expected.report_stage = 3;
  expected.silent_altitude = 1;
  expected.motion_sync = 1;
  expected.linear_calibration = 0;
  expected.ripple_control = 1;
  EXPECT_EQ(record.WithSystemSettings(before), expected);
  const std::vector<DpiStage> stages = record.DpiStages();
  ASSERT_EQ(stages.size(), 6u);
  EXPECT_EQ(stages[0], DpiStage{});
  EXPECT_EQ(stages[5], (DpiStage{1, 1, 0x1234, 0x0056, 0xAA, 0xBB, 0xCC}));
  EXPECT_EQ(record.CurrentDpiStage(), 2);
}

TEST(MouseParamRecordTest, AWriteSendsTheProfileOverTheKeptRecord) {
  const Bytes device = DeviceRecord();
  MouseParamRecord record = Read(device, kShuffled, 0);
  MouseRecordSettings settings;
  settings.light = LightSettings{.mode = 2, .brightness = 3, .speed = 1, .direction = 1,
                                 .multi_color = 0, .red = 0xF0, .green = 0x0F, .blue = 0x55};
  settings.system.report_stage = 4;
  settings.system.silent_altitude = 2;
  settings.system.motion_sync = 1;
  settings.system.linear_calibration = 1;
  settings.system.ripple_control = 0;
  settings.system.double_click_time = 700;  // kept in the profile only
  settings.current_dpi_stage = 1;
  settings.dpi_stages = {DpiStage{1, 0, 7, 7, 1, 2, 3}, DpiStage{0, 1, 0x0102, 0x0304, 4, 5, 6}};

  const Bytes sent = record.ForWrite(0, settings);
  Bytes expected = device;
  expected[0] = 0;
  expected[1] = 1;  // effect number 2 -> code 1
  expected[2] = 3, expected[3] = 3, expected[4] = 1, expected[5] = 0;
  expected[6] = 0xF0, expected[7] = 0x0F, expected[8] = 0x55, expected[9] = 0;
  expected[11] = 4, expected[12] = 1, expected[13] = 2;
  const std::array<uint8_t, 18> stages = {1, 0, 7, 0, 7, 0, 1, 2, 3, 0, 1, 2, 1, 4, 3, 4, 5, 6};
  std::copy(stages.begin(), stages.end(), expected.begin() + 14);
  expected[92] = 1, expected[93] = 1, expected[94] = 0;
  // Byte 10, stages 2 to 5 and bytes 68 to 91 go back as read.
  EXPECT_EQ(sent, expected);
  EXPECT_EQ(record.Kept()[10], device[10]);

  record.NoteWritten(sent);
  EXPECT_EQ(record.Kept(), sent);
}

TEST(MouseParamRecordTest, EffectNumbersWithoutAnEntryKeepTheMousesEffect) {
  struct Case {
    const char* what;
    uint8_t number;
    uint8_t code;
  };
  Bytes device = DeviceRecord();
  device[1] = 5;  // the mouse runs code 5 (number 5)
  const std::vector<Case> cases = {
      {"inside the list", 0, 3},
      {"last entry", 5, 5},
      {"beyond the list, below 12", 8, 5},
      {"12 counts as 0", 12, 3},
      {"200 counts as 0", 200, 3},
  };
  for (const Case& c : cases) {
    const MouseParamRecord record = Read(device, kShuffled);
    MouseRecordSettings settings;
    settings.light.mode = c.number;
    EXPECT_EQ(record.ForWrite(0, settings)[1], c.code) << c.what;
  }
  MouseRecordSettings speed;
  speed.light.speed = 5;  // outside 0-4: worked out modulo 256 and read back the same
  MouseParamRecord record = Read(device, kShuffled);
  const Bytes sent = record.ForWrite(0, speed);
  EXPECT_EQ(sent[3], 0xFF);
  record.TakeRead(sent, 0);
  EXPECT_EQ(record.LightState().speed, 5);
}

TEST(MouseParamRecordTest, ProfileOffsetsStayInsideTheAddressSpace) {
  EXPECT_EQ(MouseParamRecord::Offset(0), 0);
  EXPECT_EQ(MouseParamRecord::Offset(4), 512);
  EXPECT_EQ(MouseParamRecord::Offset(511), 65408);
  EXPECT_FALSE(MouseParamRecord::Offset(512));
  EXPECT_FALSE(MouseParamRecord::Offset(-1));
}

}  // namespace
}  // namespace vorlin
