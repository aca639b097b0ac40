// Documents of the wrong shape read as missing values, and setters repair them, never crash.
#include <gtest/gtest.h>

#include <string>

#include "profiles/hs6533_profile_data.h"
#include "profiles/json_file_io.h"
#include "profiles/keyboard_profile_data.h"
#include "profiles/mouse_profile_data.h"
#include "unit/profiles/temp_folder.h"

namespace vorlin {
namespace {

// Device entries whose parts have the wrong type, the wrong range or the wrong nesting. Each is
// read through every getter (which must give zeros where the shape is wrong), then written with
// known records (which must read back exactly).
const char* const kDamagedEntries[] = {
    R"({"LightInfo": [1, 2, 3], "AudioLightInfo": "loud", "LightList": {"0": {}},
        "KeyList": 17, "SystemStages": [], "ReportStages": 3, "DPIStages": [],
        "CustomLightMode": [], "SystemSetStages": null, "EQHzValueInfo": {"1": []},
        "CustomEQNameInfo": "names", "CustomEQHzValueInfo": 5})",
    R"({"LightInfo": {"SelectItem": "3", "Light": [4], "Speed": {"v": 1}, "MultiColor": "yes",
                      "Red": 1e300, "Green": -1e300, "Blue": 18446744073709551615},
        "KeyList": [1, "two", null, [], {"Assignment": "0x700203"}, {"Assignment": 1e40}],
        "DPIStages": {"StageActive": "1", "StageDPIs": {"a": 1}},
        "SystemStages": {"DoubleClickTime": "fast", "SensorLif": "on", "Repeat": []},
        "CustomLightMode": {"LightColorInfo": {"0": 1}, "CustomLightModeGroupIndex": "2"},
        "SystemSetStages": {"EqType": 99999999999, "MicInValue": "80"},
        "EQHzValueInfo": [1, "x", [2, {"value": "3"}, {"value": []}]],
        "CustomEQNameInfo": [1, {"Name": 5}, {"Name": "ok"}, null],
        "CustomEQHzValueInfo": [[[[]]]]})",
    R"({"DPIStages": {"StageDPIs": [1, [2], "3", {"StageDPIX": 1e10, "StageColorR": "red"}]},
        "CustomLightMode": {"LightColorInfo": [[1, [2], "3"], "group"]},
        "LightList": [1, "2", [3], true]})",
    R"([1, 2, 3])",
    R"("just a string")",
    R"(123456789012345678901234567890)",
    R"(null)",
    R"({})",
};

TEST(WrongShapeTest, GettersReadDamagedEntriesAsMissingValues) {
  for (const char* text : kDamagedEntries) {
    SCOPED_TRACE(text);
    const Json::Value entry = JsonFileIo::ParseJsonText(text);
    CMouseProfiledata mouse;
    CKeyboardProfiledata keyboard;
    CHs6533Profiledata headset;
    mouse.AdoptDeviceEntry(entry);
    keyboard.AdoptDeviceEntry(entry);
    headset.AdoptDeviceEntry(entry);

    const LightSettings light = mouse.GetLightSettings();
    EXPECT_EQ(light.mode, 0);
    EXPECT_EQ(light.brightness, 0);
    EXPECT_EQ(light.multi_color, 0);
    EXPECT_EQ(light.red, 0);
    EXPECT_EQ(light.green, 0);
    EXPECT_EQ(light.blue, 0);
    EXPECT_EQ(mouse.GetAudioLightSettings(), AudioLightSettings{});
    for (const LightListEntry& e : mouse.GetLightList()) EXPECT_EQ(e, LightListEntry{});
    for (const KeyAssignmentPair& pair : mouse.GetKeyList()) {
      EXPECT_EQ(pair.current.PackedCode(), 0u);
      EXPECT_EQ(pair.factory.PackedCode(), 0u);
    }
    EXPECT_EQ(mouse.GetMouseSettings().double_click_time, 0);
    EXPECT_EQ(mouse.GetMouseSettings().sensor_lift, 0);
    for (const DpiStage& stage : mouse.GetDpiStages()) {
      EXPECT_EQ(stage.active, 0);
      EXPECT_EQ(stage.dpi_x, 0);
      EXPECT_EQ(stage.red, 0);
    }
    EXPECT_EQ(mouse.GetCurrentDpiStage(), 0);
    EXPECT_EQ(keyboard.GetKeyboardSettings(), KeyboardSystemSettings{});
    for (const CustomLightColor& c : keyboard.GetCustomLightColors(0, 4))
      EXPECT_EQ(c, CustomLightColor{});
    EXPECT_EQ(keyboard.GetCustomGroupIndex(), 0);
    EXPECT_EQ(headset.GetHeadsetSettings(), HeadsetSystemSettings{});
    EXPECT_EQ(headset.GetPresetValues(2), std::vector<int>(10, 0));
    EXPECT_EQ(headset.GetCustomPresetValues(0), std::vector<int>(10, 0));
    for (const std::string& name : headset.GetCustomPresetNames())
      EXPECT_TRUE(name.empty() || name == "ok");
  }
}

TEST(WrongShapeTest, SettersRepairDamagedEntries) {
  const LightSettings light{.mode = 3, .brightness = 4, .red = 255, .old_mode = 1};
  const AudioLightSettings audio{.audio_mode = 2, .fg_green = 9, .color_side = 1};
  const MouseSystemSettings mouse_settings{
      .double_click_time = 500, .report_stage = 3, .sensor_lift = 1};
  const std::vector<DpiStage> stages = {{1, 0, 31, 31, 1, 2, 3}};
  const KeyboardSystemSettings keyboard_settings{20, 1, 0, 3, 1, 0};
  const HeadsetSystemSettings headset_settings{1, 2, 3, 4, 5, 6, 7, 8};
  const EqBands bands = {1, -2, 3, -4, 5, -6, 7, -8, 9, -10};
  const std::vector<CustomLightColor> colors = {{1, 2, 3, 4}};
  KeyAssignmentPair key;
  key.current.SetPackedCode(0x700203);

  for (const char* text : kDamagedEntries) {
    SCOPED_TRACE(text);
    const Json::Value entry = JsonFileIo::ParseJsonText(text);
    CMouseProfiledata mouse;
    CKeyboardProfiledata keyboard;
    CHs6533Profiledata headset;
    mouse.AdoptDeviceEntry(entry);
    keyboard.AdoptDeviceEntry(entry);
    headset.AdoptDeviceEntry(entry);

    mouse.SetLightSettings(light);
    mouse.SetAudioLightSettings(audio);
    mouse.SetKeyList({key});
    mouse.SetMouseSettings(mouse_settings);
    mouse.SetDpiStages(stages);
    mouse.SetCurrentDpiStage(0);
    keyboard.SetKeyboardSettings(keyboard_settings);
    keyboard.SetCustomLightColors(colors, 1);
    keyboard.SetCustomGroupIndex(1);
    headset.SetHeadsetSettings(headset_settings);
    headset.SetPresetValues(2, bands);
    headset.SetCustomPresetValues(0, bands);
    headset.SetCustomPresetNames({"A"});

    EXPECT_EQ(mouse.GetLightSettings(), light);
    EXPECT_EQ(mouse.GetAudioLightSettings(), audio);
    ASSERT_FALSE(mouse.GetKeyList().empty());
    EXPECT_EQ(mouse.GetKeyList()[0].current.PackedCode(), 0x700203u);
    EXPECT_EQ(mouse.GetMouseSettings(), mouse_settings);
    ASSERT_FALSE(mouse.GetDpiStages().empty());
    EXPECT_EQ(mouse.GetDpiStages()[0], stages[0]);
    EXPECT_EQ(keyboard.GetKeyboardSettings(), keyboard_settings);
    EXPECT_EQ(keyboard.GetCustomLightColors(1, 1), colors);
    EXPECT_EQ(keyboard.GetCustomGroupIndex(), 1);
    EXPECT_EQ(headset.GetHeadsetSettings(), headset_settings);
    EXPECT_EQ(headset.GetPresetValues(2), std::vector<int>(bands.begin(), bands.end()));
    EXPECT_EQ(headset.GetCustomPresetValues(0), std::vector<int>(bands.begin(), bands.end()));
    EXPECT_EQ(headset.GetCustomPresetNames(), std::vector<std::string>{"A"});
  }
}

TEST(WrongShapeTest, DamagedProfileDocumentsAreSeededFromTheFactoryDocument) {
  testing::TempFolder folder;
  const std::string default_path = folder.File("default.Json");
  const std::string profile_path = folder.File("profile.Json");
  testing::WriteText(default_path, R"({"Device": [{"KeyList": [], "LightInfo": {"Red": 77}}]})");
  const char* documents[] = {
      R"([1, 2])",
      R"("text")",
      R"(12)",
      R"({"Device": "x"})",
      R"({"Device": {"a": 1}})",
      R"({"Device": [[]]})",
      R"({"Device": [true]})",
      "\xFF\xFE garbage",                                           // not JSON at all
      "{\"Device\": [{\"KeyList\": [], \"Name\": \"\xC3\x28\"}]}",  // invalid UTF-8 in a string
  };
  for (const char* text : documents) {
    SCOPED_TRACE(text);
    testing::WriteText(profile_path, text);
    CBasicProfiledata data;
    data.SetDefaultPath(default_path);
    data.SetProfilePath(profile_path);
    const Json::Value entry = data.LoadDevice(profile_path);
    ASSERT_TRUE(entry.isObject());
    data.GetLightSettings();
    EXPECT_TRUE(data.Save());
    EXPECT_TRUE(JsonFileIo::ReadJsonFile(profile_path)["Device"][0].isObject());
  }
}

}  // namespace
}  // namespace vorlin
