// Every record goes into the device entry, through the profile document on disk and back.
#include <gtest/gtest.h>

#include <string>

#include "profiles/hs6533_profile_data.h"
#include "profiles/json_file_io.h"
#include "profiles/keyboard_profile_data.h"
#include "profiles/mouse_profile_data.h"
#include "unit/profiles/temp_folder.h"

namespace vorlin {
namespace {

using testing::TempFolder;
using testing::WriteText;

class RecordRoundTripTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteText(default_path_, R"({"Device": [{"KeyList": []}]})"); }

  // A profile data object of the given kind with the profile loaded.
  template <typename Data>
  Data Open() {
    Data data;
    data.SetDefaultPath(default_path_);
    data.SetProfilePath(profile_path_);
    data.LoadDevice(profile_path_);
    return data;
  }

  TempFolder folder_;
  std::string default_path_ = folder_.File("default.Json");
  std::string profile_path_ = folder_.File("profile.Json");
};

TEST_F(RecordRoundTripTest, LightSettings) {
  auto writer = Open<CBasicProfiledata>();
  writer.SetLightSettings(0x04030201, 0x08070605, 0xFF0B0A09, 0x0E0D);
  ASSERT_TRUE(writer.Save());
  LightSettings expected = LightSettingsFromWords({0x04030201, 0x08070605, 0xFF0B0A09, 0x0E0D});
  expected.multi_color = 1;  // a flag: 5 reads back as 1
  expected.unused = {};      // bytes 8-10 are not stored
  EXPECT_EQ(Open<CBasicProfiledata>().GetLightSettings(), expected);
}

TEST_F(RecordRoundTripTest, MultiColorTwoReadsAndWritesAsOne) {
  WriteText(profile_path_, R"({"Device": [{"KeyList": [], "LightInfo": {"MultiColor": 2}}]})");
  auto data = Open<CBasicProfiledata>();
  const LightSettings read = data.GetLightSettings();
  EXPECT_EQ(read.multi_color, 1);
  data.SetLightSettings(read);
  ASSERT_TRUE(data.Save());
  EXPECT_EQ(JsonFileIo::ReadJsonFile(profile_path_)["Device"][0]["LightInfo"]["MultiColor"].asInt(),
            1);
}

TEST_F(RecordRoundTripTest, AudioLightSettings) {
  auto writer = Open<CBasicProfiledata>();
  writer.SetAudioLightSettings(0x40302002, 0x01706050, 1);
  ASSERT_TRUE(writer.Save());
  EXPECT_EQ(Open<CBasicProfiledata>().GetAudioLightSettings(),
            AudioLightSettingsFromWords(0x40302002, 0x01706050, 1));
}

TEST_F(RecordRoundTripTest, KeyList) {
  WriteText(profile_path_, R"({"Device": [{"KeyList": [
      {"Assignment": 1048832, "DefaultAssignment": 1048832},
      {"Assignment": 1049088, "DefaultAssignment": 1049088}]}]})");
  auto writer = Open<CBasicProfiledata>();
  std::vector<KeyAssignmentPair> keys = writer.GetKeyList();
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[1].current.key_index, 1);
  EXPECT_EQ(keys[1].factory.PackedCode(), 1049088u);
  keys[1].current.SetPackedCode(7340547);
  keys[1].factory.SetPackedCode(0);  // the factory function is read only
  writer.SetKeyList(keys);
  ASSERT_TRUE(writer.Save());

  const std::vector<KeyAssignmentPair> read = Open<CBasicProfiledata>().GetKeyList();
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(read[1].current.code, (std::array<uint8_t, 3>{0x70, 0x02, 0x03}));
  EXPECT_EQ(read[1].factory.PackedCode(), 1049088u);
  const Json::Value saved = JsonFileIo::ReadJsonFile(profile_path_)["Device"][0]["KeyList"][1];
  EXPECT_EQ(saved["Assignment"].asInt(), 7340547);
}

TEST_F(RecordRoundTripTest, MouseSettings) {
  const MouseSystemSettings settings{500, 10, 1, 0, 3, 4, 2, 1, 1, 1, 0, 1, 3, 600, 1, 1};
  auto writer = Open<CMouseProfiledata>();
  writer.SetMouseSettings(settings);
  ASSERT_TRUE(writer.Save());
  EXPECT_EQ(Open<CMouseProfiledata>().GetMouseSettings(), settings);
  const Json::Value entry = JsonFileIo::ReadJsonFile(profile_path_)["Device"][0];
  EXPECT_EQ(entry["ReportStages"]["StageActive"].asInt(), 4);
  EXPECT_EQ(entry["SystemStages"]["WheelScorlllinse"].asInt(), 3);
  EXPECT_EQ(entry["SystemStages"]["SensorLif"].asInt(), 1);
}

TEST_F(RecordRoundTripTest, MouseFlagsAndMissingReportStage) {
  WriteText(profile_path_, R"({"Device": [{"KeyList": [],
      "SystemStages": {"SensorLif": 5, "MotionSync": 0, "RippleControl": -1, "AntiShake": 70000}}]})");
  const MouseSystemSettings read = Open<CMouseProfiledata>().GetMouseSettings();
  EXPECT_EQ(read.sensor_lift, 1);
  EXPECT_EQ(read.motion_sync, 0);
  EXPECT_EQ(read.ripple_control, 1);
  EXPECT_EQ(read.anti_shake, 70000 & 0xFFFF);  // a 16-bit field
  EXPECT_EQ(read.report_stage, 0);
}

TEST_F(RecordRoundTripTest, DpiStagesAndCurrentStage) {
  const std::vector<DpiStage> stages = {
      {1, 0, 7, 7, 255, 0, 0}, {1, 1, 15, 31, 0, 255, 0}, {0, 0, 523, 523, 0, 0, 255}};
  auto writer = Open<CMouseProfiledata>();
  writer.SetDpiStages(stages);
  writer.SetCurrentDpiStage(2);
  EXPECT_EQ(writer.GetCurrentDpiStage(), 2);
  ASSERT_TRUE(writer.Save());
  auto reader = Open<CMouseProfiledata>();
  EXPECT_EQ(reader.GetDpiStages(), stages);
  EXPECT_EQ(reader.GetCurrentDpiStage(), 2);
}

TEST_F(RecordRoundTripTest, KeyboardSettingsAndCustomColours) {
  auto writer = Open<CKeyboardProfiledata>();
  writer.SetKeyboardSettings(20 | 1 << 16, 1 | 3 << 16, 0 | 1 << 16);
  const std::vector<CustomLightColor> colors = {{255, 0, 0, 255}, {0, 128, 0, 10}};
  writer.SetCustomLightColors(colors, 2);
  writer.SetCustomGroupIndex(2);
  ASSERT_TRUE(writer.Save());
  auto reader = Open<CKeyboardProfiledata>();
  EXPECT_EQ(reader.GetKeyboardSettings(), (KeyboardSystemSettings{20, 1, 1, 3, 0, 1}));
  EXPECT_EQ(reader.GetCustomLightColors(2, 2), colors);
  EXPECT_EQ(reader.GetCustomGroupIndex(), 2);
}

TEST_F(RecordRoundTripTest, HeadsetSettingsPresetsAndNames) {
  const HeadsetSystemSettings settings{1, 3, 13, 0, 1, 80, 0, -5};
  const EqBands preset = {7, 11, 2, -3, -1, 4, 9, 12, 9, 5};
  const EqBands custom = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  const std::vector<std::string> names = {"Bass", "\xE4\xBD\xA0\xE5\xA5\xBD", ""};
  auto writer = Open<CHs6533Profiledata>();
  writer.SetHeadsetSettings(settings);
  writer.SetPresetValues(4, preset);
  writer.SetCustomPresetValues(1, custom);
  writer.SetCustomPresetNames(names);
  ASSERT_TRUE(writer.Save());
  auto reader = Open<CHs6533Profiledata>();
  EXPECT_EQ(reader.GetHeadsetSettings(), settings);
  EXPECT_EQ(reader.GetPresetValues(4), std::vector<int>(preset.begin(), preset.end()));
  EXPECT_EQ(reader.GetCustomPresetValues(1), std::vector<int>(custom.begin(), custom.end()));
  EXPECT_EQ(reader.GetCustomPresetNames(), names);
}

TEST_F(RecordRoundTripTest, LightListEntries) {
  WriteText(profile_path_, R"({"Device": [{"KeyList": [], "LightList": [
      {"LEDREGMode": 2, "LEDBrightness": 4, "LEDSpeed": 1, "LEDDirection": 3, "LEDMultiColor": 0,
       "red": 10, "green": 20, "blue": 30},
      null,
      7]}]})");
  const std::vector<LightListEntry> list = Open<CBasicProfiledata>().GetLightList();
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0], (LightListEntry{2, 4, 1, 1, 0, 10, 20, 30, 1}));
  EXPECT_EQ(list[1], LightListEntry{});
  EXPECT_EQ(list[2], LightListEntry{});
}

}  // namespace
}  // namespace vorlin
