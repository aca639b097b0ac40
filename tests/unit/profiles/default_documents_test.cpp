// The factory documents shipped in data/DefaultData.
#include <gtest/gtest.h>

#include <string>

#include "profiles/hs6533_profile_data.h"
#include "profiles/json_access.h"
#include "profiles/json_file_io.h"
#include "profiles/keyboard_profile_data.h"
#include "profiles/mouse_profile_data.h"
#include "profiles/profile_folders.h"
#include "unit/profiles/temp_folder.h"

namespace vorlin {
namespace {

const ProfileFolders kShipped{VORLIN_SOURCE_DIR "/data", ""};

Json::Value FactoryEntry(const char* data_name) {
  return JsonFileIo::ReadJsonFile(DefaultDocumentPath(kShipped, data_name))["Device"][0];
}

TEST(DefaultDocumentsTest, EveryKindSeedsAProfileThatCanBeSaved) {
  for (const char* kind : {"mouse", "keyboard", "MousePad", "HD"}) {
    SCOPED_TRACE(kind);
    const Json::Value entry = FactoryEntry(kind);
    ASSERT_TRUE(entry.isObject());
    EXPECT_TRUE(entry["KeyList"].isArray());
    EXPECT_TRUE(entry["LightInfo"].isObject());
    EXPECT_TRUE(entry["LightList"].isArray());

    testing::TempFolder folder;
    const ProfileFolders folders{kShipped.install_data_folder, folder.path().string()};
    const std::string profile = ProfileDocumentPath(folders, kind, "profile");
    CBasicProfiledata data;
    data.SetDefaultPath(DefaultDocumentPath(kShipped, kind));
    data.SetProfilePath(profile);
    EXPECT_EQ(data.LoadDevice(profile), entry);
    EXPECT_TRUE(data.Save());
  }
}

TEST(DefaultDocumentsTest, MouseButtonsCarryTheirFactoryFunctions) {
  // Buttons 0-10 in page order: left, right, middle, forward, back, DPI up, DPI down, DPI cycle,
  // game mode, DPI shift, fire key.
  const uint32_t buttons[] = {0x100100, 0x100200, 0x100400, 0x101000, 0x100800, 0x130100,
                              0x130200, 0x130300, 0xA01B00, 0x169001, 0x147802};
  CMouseProfiledata mouse;
  mouse.AdoptDeviceEntry(FactoryEntry("mouse"));
  const std::vector<KeyAssignmentPair> keys = mouse.GetKeyList();
  ASSERT_EQ(keys.size(), 15u);
  for (size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(keys[i].current, keys[i].factory) << i;
    EXPECT_NE(keys[i].factory.PackedCode(), 0u) << i;
    if (i < std::size(buttons)) {
      EXPECT_EQ(keys[i].factory.PackedCode(), buttons[i]) << i;
    }
  }
  const std::vector<DpiStage> stages = mouse.GetDpiStages();
  ASSERT_EQ(stages.size(), 6u);
  EXPECT_EQ(mouse.GetCurrentDpiStage(), 1);
  for (size_t i = 0; i < stages.size(); ++i) {
    EXPECT_EQ(stages[i].active, 1);
    EXPECT_EQ(stages[i].dpi_x * 50 + 50, 400 * (i + 1)) << i;  // step 50, base 50
  }
  EXPECT_LE(mouse.GetMouseSettings().report_stage, 4);
}

TEST(DefaultDocumentsTest, KeyboardHasEveryKeyIndex) {
  CKeyboardProfiledata keyboard;
  keyboard.AdoptDeviceEntry(FactoryEntry("keyboard"));
  const std::vector<KeyAssignmentPair> keys = keyboard.GetKeyList();
  ASSERT_EQ(keys.size(), 170u);
  EXPECT_EQ(keys[0].factory.PackedCode(), 0x200029u);    // Esc
  EXPECT_EQ(keys[16].factory.PackedCode(), 0xA01B00u);   // game mode
  EXPECT_EQ(keys[110].factory.PackedCode(), 0xA00100u);  // Fn
  EXPECT_EQ(keys[125].factory.PackedCode(), 0x208000u);  // right Windows
  for (size_t i = 126; i < keys.size(); ++i) EXPECT_EQ(keys[i].factory.PackedCode(), 0x200000u);
  for (const KeyAssignmentPair& pair : keys) EXPECT_EQ(pair.current, pair.factory);
  const KeyboardSystemSettings settings = keyboard.GetKeyboardSettings();
  EXPECT_LE(settings.polling_rate, 3);
  EXPECT_LE(settings.repeat_delay, 3);
}

TEST(DefaultDocumentsTest, HeadsetHasEveryBuiltInPreset) {
  CHs6533Profiledata headset;
  const Json::Value entry = FactoryEntry("HD");
  headset.AdoptDeviceEntry(entry);
  for (int preset = 1; preset <= 12; ++preset) {
    for (Json::ArrayIndex band = 0; band < 10; ++band)
      EXPECT_TRUE(entry["EQHzValueInfo"][preset][band]["value"].isInt()) << preset << "/" << band;
  }
  EXPECT_EQ(headset.GetPresetValues(12), (std::vector<int>{2, 1, -2, -4, -8, 4, 12, 16, 18, 15}));
  EXPECT_EQ(headset.GetPresetValues(5), std::vector<int>(10, 0));
  EXPECT_EQ(headset.GetDeviceEntry(), entry);  // nothing needed completing
  const HeadsetSystemSettings settings = headset.GetHeadsetSettings();
  EXPECT_GE(settings.eq_type, 1);
  EXPECT_LE(settings.eq_type, 12);
  EXPECT_TRUE(headset.GetCustomPresetNames().empty());
}

TEST(DefaultDocumentsTest, LightModeNamesForEveryLightIndex) {
  const Json::Value names = JsonFileIo::ReadJsonFile(DefaultLightNamesPath(kShipped));
  // Light index 0 keyboard (effects 0-30), 1 mouse (0-11), 2 mouse pad and 3 headset (0-8).
  const Json::ArrayIndex counts[] = {31, 12, 9, 9};
  for (Json::ArrayIndex index = 0; index < 4; ++index) {
    SCOPED_TRACE(index);
    const Json::Value& list = Element(Member(names, "DefaultLightName"), index);
    ASSERT_EQ(list.size(), counts[index]);
    for (Json::ArrayIndex mode = 0; mode < list.size(); ++mode) {
      EXPECT_FALSE(ReadString(list[mode], "LightName").empty());
      EXPECT_TRUE(AsBool(Member(list[mode], "visible")).has_value());
      EXPECT_EQ(AsInt(Member(list[mode], "value")), static_cast<int>(mode));
    }
    EXPECT_TRUE(Element(Member(names, "AreaLightName"), index).isArray());
  }
}

}  // namespace
}  // namespace vorlin
