// The factory documents shipped in data/DefaultData.
#include <gtest/gtest.h>

#include <QFile>
#include <QXmlStreamReader>

#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "profiles/hs6533_profile_data.h"
#include "profiles/json_access.h"
#include "profiles/json_file_io.h"
#include "profiles/keyboard_profile_data.h"
#include "profiles/light_name_lists.h"
#include "profiles/mouse_profile_data.h"
#include "profiles/profile_folders.h"
#include "unit/profiles/temp_folder.h"

namespace vorlin {
namespace {

const ProfileFolders kShipped{VORLIN_SOURCE_DIR "/data", ""};

Json::Value FactoryEntry(const char* data_name) {
  return JsonFileIo::ReadJsonFile(DefaultDocumentPath(kShipped, data_name))["Device"][0];
}

Json::Value ShippedDocument(const std::string& name) {
  return JsonFileIo::ReadJsonFile(DefaultDataFolder(kShipped) + name);
}

enum class Shape { kObject, kArray, kInt, kString };

bool HasShape(const Json::Value& value, Shape shape) {
  switch (shape) {
    case Shape::kObject:
      return value.isObject();
    case Shape::kArray:
      return value.isArray();
    case Shape::kInt:
      return value.isInt();
    case Shape::kString:
      return value.isString();
  }
  return false;
}

// A key a reader of the document takes, as a path of member names from the document's root.
struct RequiredKey {
  std::vector<std::string> path;
  Shape shape;
};

// The paths of `keys` that `root` lacks or holds in another shape.
std::vector<std::string> MissingKeys(const Json::Value& root,
                                     const std::vector<RequiredKey>& keys) {
  std::vector<std::string> missing;
  for (const RequiredKey& key : keys) {
    const Json::Value* value = &root;
    std::string joined;
    for (const std::string& name : key.path) {
      value = &Member(*value, name.c_str());
      joined += "/" + name;
    }
    if (!HasShape(*value, key.shape)) missing.push_back(joined);
  }
  return missing;
}

// Every key under `object`, each an int.
std::vector<RequiredKey> IntKeys(const std::vector<std::string>& object,
                                 const std::vector<const char*>& names) {
  std::vector<RequiredKey> keys;
  for (const char* name : names) {
    std::vector<std::string> path = object;
    path.push_back(name);
    keys.push_back({path, Shape::kInt});
  }
  return keys;
}

template <typename T>
T OrEmpty(std::optional<T> value) {
  return value ? std::move(*value) : T{};
}

std::vector<RequiredKey> Join(std::vector<std::vector<RequiredKey>> parts) {
  std::vector<RequiredKey> all;
  for (auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const std::vector<const char*> kLightInfoKeys = {"SelectItem",  "Light",       "Speed",     "Fx",
                                                 "MultiColor",  "Red",         "Green",     "Blue",
                                                 "ZZCCLedMode", "CustomGroup", "OldLedmode"};

// What the readers of each kind take from its device entry.
std::vector<RequiredKey> EntryKeysOf(const std::string& kind) {
  std::vector<RequiredKey> keys = Join({
      {{{"KeyList"}, Shape::kArray}, {{"LightList"}, Shape::kArray}},
      IntKeys({"LightInfo"}, kLightInfoKeys),
  });
  if (kind == "mouse") {
    keys = Join({keys,
                 IntKeys({"SystemStages"},
                         {"DoubleClickTime", "MouseSpeed", "PointerPrecision", "ScorllPage",
                          "WheelScorlllinse", "DormancyTime", "AntiShake", "SilentAltitudeItem",
                          "SensorLif", "MotionSync", "LinearCalibration", "KeyDelay", "sleeptime",
                          "sleeptimeH", "RippleControl"}),
                 IntKeys({"ReportStages"}, {"StageActive"}),
                 IntKeys({"DPIStages"}, {"StageActive"}),
                 {{{"DPIStages", "StageDPIs"}, Shape::kArray}}});
  } else if (kind == "keyboard") {
    keys = Join(
        {keys,
         IntKeys({"SystemStages"},
                 {"Repeat", "RepeatDelay", "Key6Flag", "PollingRate", "WFlag", "WinFlag"}),
         IntKeys({"AudioLightInfo"}, {"AudioMode", "BkColorR", "BkColorG", "BkColorB", "FgColorR",
                                      "FgColorG", "FgColorB", "7ColorFlags", "ColorTypeFlags"}),
         IntKeys({"CustomLightMode"}, {"CustomLightModeGroupIndex"}),
         {{{"CustomLightMode", "LightColorInfo"}, Shape::kArray}}});
  } else if (kind == "HD") {
    keys = Join({keys,
                 IntKeys({"SystemSetStages"},
                         {"MagicEnable", "MagicType", "EqType", "CustomEqSeletIndex", "MicInSelect",
                          "MicInValue", "MicMoniterSelect", "MicMoniterValue"}),
                 {{{"EQHzValueInfo"}, Shape::kArray},
                  {{"CustomEQNameInfo"}, Shape::kArray},
                  {{"CustomEQHzValueInfo"}, Shape::kArray}}});
  }
  return keys;
}

// The language keys of one language file.
std::set<std::string> LanguageKeys(const char* file) {
  QFile in(QString::fromUtf8(VORLIN_SOURCE_DIR "/data/skin/") + QString::fromUtf8(file));
  std::set<std::string> keys;
  if (!in.open(QIODevice::ReadOnly)) return keys;
  QXmlStreamReader xml(&in);
  if (!xml.readNextStartElement() || xml.name() != QLatin1String("language")) return keys;
  while (xml.readNextStartElement()) {
    if (xml.name() == QLatin1String("text")) {
      const QString key = xml.attributes().value(QLatin1String("key")).toString();
      if (!xml.readElementText().isEmpty()) keys.insert(key.toStdString());
    } else {
      xml.skipCurrentElement();
    }
  }
  if (xml.hasError()) keys.clear();
  return keys;
}

// Every text of the factory documents that a page shows: effect names, area names, custom effect
// names and the music group names.
std::vector<std::string> VisibleTextKeys() {
  std::vector<std::string> keys;
  const Json::Value names = ShippedDocument("default_light.json");
  const Json::Value config = ShippedDocument("torva_light.config");
  for (Json::ArrayIndex index = 0; index < 4; ++index) {
    for (const LightModeName& mode : OrEmpty(ReadDefaultLightNames(names, index)))
      keys.push_back(mode.name);
    for (const std::string& name : OrEmpty(ReadAreaLightNames(names, index))) keys.push_back(name);
    for (const std::string& name : OrEmpty(ReadCustomLightNames(config, index)))
      keys.push_back(name);
  }
  const Json::Value audio = ShippedDocument("AudioFile.json");
  const Json::Value& groups = Member(Member(audio, "Device"), "AudioLightInfo");
  for (const char* key : {"nStyleName1", "nStyleName2", "nStyleName3", "nStyleName4"})
    keys.push_back(ReadString(groups, key));
  return keys;
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

TEST(DefaultDocumentsTest, EveryShippedFileIsAJsonDocument) {
  std::set<std::string> shipped;
  for (const auto& file : std::filesystem::directory_iterator(DefaultDataFolder(kShipped))) {
    SCOPED_TRACE(file.path().string());
    EXPECT_TRUE(JsonFileIo::ReadJsonFile(file.path()).isObject());
    shipped.insert(file.path().filename().string());
  }
  for (const char* name :
       {"mouse.Json", "keyboard.Json", "MousePad.Json", "HD.Json", "default_light.json",
        "torva_light.config", "AudioFile.json", "color_option_info.config", "ShootData_0.Shoot",
        "ShootData_1.Shoot", "ShootData_2.Shoot", "ShootData_3.Shoot"}) {
    EXPECT_TRUE(shipped.count(name)) << name;
  }
}

TEST(DefaultDocumentsTest, FactoryEntriesCarryEveryKeyTheirReadersTake) {
  for (const char* kind : {"mouse", "keyboard", "MousePad", "HD"}) {
    SCOPED_TRACE(kind);
    EXPECT_EQ(MissingKeys(FactoryEntry(kind), EntryKeysOf(kind)), std::vector<std::string>{});
  }
  // Each of the mouse's six DPI stages with its own indicator colour.
  const Json::Value mouse = FactoryEntry("mouse");
  const Json::Value& stages = mouse["DPIStages"]["StageDPIs"];
  ASSERT_EQ(stages.size(), 6u);
  std::set<std::vector<int>> colours;
  for (const Json::Value& stage : stages) {
    EXPECT_EQ(MissingKeys(stage, IntKeys({}, {"StageActive", "StageXY", "StageDPIX", "StageDPIY",
                                              "StageColorR", "StageColorG", "StageColorB"})),
              std::vector<std::string>{});
    colours.insert(
        {stage["StageColorR"].asInt(), stage["StageColorG"].asInt(), stage["StageColorB"].asInt()});
  }
  EXPECT_EQ(colours.size(), 6u);
}

TEST(DefaultDocumentsTest, HeadsetPresetsHoldTheirBandGains) {
  const std::vector<std::vector<int>> presets = {
      {7, 11, 2, -3, -1, 4, 9, 12, 9, 5},   {7, 11, 6, -3, -11, -1, 6, 13, 6, 13},
      {10, 4, 0, -3, -4, -3, -2, -1, 0, 0}, {2, 1, -2, -3, -5, -7, 0, 4, 9, 8},
      {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},       {7, 14, -13, -6, -1, 8, 13, 7, 2, 6},
      {14, 10, 4, 0, -4, -3, -1, 1, 2, 3},  {2, 1, -2, -3, -5, -1, 7, 11, 15, 13},
      {8, 2, -4, -8, 1, 3, 8, 11, 14, 16},  {-3, 4, 10, 0, -11, 3, 9, 13, 6, 0},
      {18, 14, 8, 2, -3, -6, -1, 2, 5, 6},  {2, 1, -2, -4, -8, 4, 12, 16, 18, 15}};
  CHs6533Profiledata headset;
  headset.AdoptDeviceEntry(FactoryEntry("HD"));
  for (int preset = 1; preset <= 12; ++preset)
    EXPECT_EQ(headset.GetPresetValues(preset), presets[preset - 1]) << preset;
}

TEST(DefaultDocumentsTest, EffectNamesFollowTheEffectEachModePlays) {
  // Mode n of the mouse, mouse pad and headset plays the effect of code n (their "value").
  const std::vector<std::vector<std::string>> expected = {
      {},
      {"wave", "spectrum", "breathing", "steady", "blinking", "ripple", "reactive",
       "breathing_four", "blinking_four", "user_sequence", "dark", "user_sequence_2"},
      {"wave", "spectrum", "breathing", "steady", "blinking", "user_sequence", "sweep", "ripple",
       "dark"},
      {"wave", "spectrum", "breathing", "steady", "blinking", "user_sequence", "sweep", "ripple",
       "dark"}};
  const Json::Value names = ShippedDocument("default_light.json");
  // The keyboard's own effects: the ones whose numbers the synchronised mode uses.
  const std::vector<LightModeName> keyboard = OrEmpty(ReadDefaultLightNames(names, 0));
  ASSERT_EQ(keyboard.size(), 31u);
  for (const auto& [mode, name] : std::vector<std::pair<int, std::string>>{{4, "spectrum"},
                                                                           {5, "breathing"},
                                                                           {6, "steady"},
                                                                           {23, "blinking"},
                                                                           {28, "dark"},
                                                                           {29, "music"}}) {
    EXPECT_EQ(keyboard[mode].name, "light_mode_" + name) << mode;
  }
  for (Json::ArrayIndex index = 1; index < 4; ++index) {
    SCOPED_TRACE(index);
    const std::vector<LightModeName> modes = OrEmpty(ReadDefaultLightNames(names, index));
    ASSERT_EQ(modes.size(), expected[index].size());
    for (size_t mode = 0; mode < modes.size(); ++mode) {
      EXPECT_EQ(modes[mode].name, "light_mode_" + expected[index][mode]) << mode;
      EXPECT_EQ(modes[mode].value, static_cast<int>(mode));
    }
  }
}

TEST(DefaultDocumentsTest, EveryVisibleTextIsALanguageKeyOfBothLanguages) {
  const std::set<std::string> chinese = LanguageKeys("lan_cn.xml");
  const std::set<std::string> english = LanguageKeys("lan_en.xml");
  ASSERT_FALSE(chinese.empty());
  ASSERT_FALSE(english.empty());
  const std::vector<std::string> keys = VisibleTextKeys();
  EXPECT_GE(keys.size(), 31u + 12 + 9 + 9 + 16 + 4);
  for (const std::string& key : keys) {
    EXPECT_FALSE(key.empty());
    EXPECT_TRUE(chinese.count(key)) << key << " is not in lan_cn.xml";
    EXPECT_TRUE(english.count(key)) << key << " is not in lan_en.xml";
  }
}

TEST(DefaultDocumentsTest, CustomEffectsHaveTheirEffectFiles) {
  const Json::Value config = ShippedDocument("torva_light.config");
  // Every light index lists the same effects in the same order, so the effect a page lists at a
  // position is the one played for that position whichever list is consulted.
  std::vector<std::string> guids;
  for (Json::ArrayIndex position = 0;; ++position) {
    const std::string guid = CustomEffectGuid(config, 0, position);
    if (guid.empty()) break;
    guids.push_back(guid);
    for (Json::ArrayIndex index = 1; index < 4; ++index)
      EXPECT_EQ(CustomEffectGuid(config, index, position), guid) << index << "/" << position;
  }
  ASSERT_GE(guids.size(), 3u);
  EXPECT_EQ(std::set<std::string>(guids.begin(), guids.end()).size(), guids.size());
  for (Json::ArrayIndex index = 0; index < 4; ++index)
    EXPECT_EQ(OrEmpty(ReadCustomLightNames(config, index)).size(), guids.size());

  const std::set<int> playable_modes = {0, 1, 2, 4,
                                        5};  // breathing, steady, blinking, wave, spectrum
  for (const std::string& guid : guids) {
    SCOPED_TRACE(guid);
    const std::string file = LightEffectFileName(guid);
    ASSERT_FALSE(file.empty());
    const Json::Value effect = ShippedDocument(file);
    const Json::Value& list = Member(effect, "LEDEffectList");
    ASSERT_TRUE(list.isArray());
    EXPECT_GE(list.size(), 3u);
    for (const Json::Value& step : list) {
      EXPECT_EQ(
          MissingKeys(step, IntKeys({}, {"LEDREGMode", "LEDBrightness", "LEDSpeed", "LEDDirection",
                                         "LEDMultiColor", "red", "green", "blue", "Time", "Cyle"})),
          std::vector<std::string>{});
      EXPECT_TRUE(playable_modes.count(step["LEDREGMode"].asInt()));
      EXPECT_LE(step["LEDBrightness"].asUInt(), 4u);
      EXPECT_LE(step["LEDSpeed"].asUInt(), 14u);
      for (const char* channel : {"red", "green", "blue"}) EXPECT_LE(step[channel].asUInt(), 255u);
      EXPECT_GT(step["Time"].asInt(), 0);
    }
  }
}

TEST(DefaultDocumentsTest, MusicGroupsHaveNamesAndColours) {
  const Json::Value audio = ShippedDocument("AudioFile.json");
  const Json::Value& groups = Member(Member(audio, "Device"), "AudioLightInfo");
  std::vector<RequiredKey> keys = {{{"nAudioStyle"}, Shape::kInt}};
  for (int group = 0; group < 4; ++group) {
    keys.push_back({{"nStyleName" + std::to_string(group + 1)}, Shape::kString});
    for (const char* channel : {"nStyleR", "nStyleG", "nStyleB"}) {
      const std::string key = channel + std::to_string(group);
      keys.push_back({{key}, Shape::kInt});
      EXPECT_LE(Member(groups, key.c_str()).asUInt(), 9u) << key;  // sliders run 0-9
    }
  }
  EXPECT_EQ(MissingKeys(groups, keys), std::vector<std::string>{});
  EXPECT_LE(groups["nAudioStyle"].asUInt(), 3u);
}

TEST(DefaultDocumentsTest, GunFilesHoldThirtyBulletsEach) {
  std::set<std::string> patterns;
  for (int gun = 0; gun < 4; ++gun) {
    SCOPED_TRACE(gun);
    const Json::Value document = ShippedDocument("ShootData_" + std::to_string(gun) + ".Shoot");
    const Json::Value& events = Member(document, "Events");
    ASSERT_EQ(events.size(), 180u);
    for (Json::ArrayIndex bullet = 0; bullet < 30; ++bullet) {
      SCOPED_TRACE(bullet);
      const Json::ArrayIndex at = bullet * 6;
      for (Json::ArrayIndex i = at; i < at + 6; ++i) {
        EXPECT_EQ(MissingKeys(events[i], {{{"Action"}, Shape::kString},
                                          {{"Button"}, Shape::kInt},
                                          {{"Delay"}, Shape::kInt},
                                          {{"Type"}, Shape::kInt}}),
                  std::vector<std::string>{});
        const std::string action = events[i]["Action"].asString();
        EXPECT_TRUE(action == "down" || action == "up") << action;
      }
      // Press, release, move on X, move on Y with the bullet's pause, then the two zero moves.
      EXPECT_EQ(events[at]["Action"].asString(), "down");
      EXPECT_EQ(events[at + 1]["Action"].asString(), "up");
      const int expected[6][3] = {
          {1, 10, 1},  {1, 0, 1}, {-1, 5, 4},
          {-1, -1, 5}, {0, 0, 4}, {0, 0, 5}};  // Button, Delay, Type; -1 for the bullet's own
      for (int i = 0; i < 6; ++i) {
        if (expected[i][0] >= 0) {
          EXPECT_EQ(events[at + i]["Button"].asInt(), expected[i][0]) << i;
        }
        if (expected[i][1] >= 0) {
          EXPECT_EQ(events[at + i]["Delay"].asInt(), expected[i][1]) << i;
        }
        EXPECT_EQ(events[at + i]["Type"].asInt(), expected[i][2]) << i;
      }
      EXPECT_EQ(events[at + 4]["Action"], events[at + 2]["Action"]);
      EXPECT_EQ(events[at + 5]["Action"], events[at + 3]["Action"]);
      // Distances fit the device's byte, the pause its 16 bits, and a gun pulls down.
      EXPECT_LE(events[at + 2]["Button"].asUInt(), 255u);
      EXPECT_LE(events[at + 3]["Button"].asUInt(), 255u);
      EXPECT_GT(events[at + 3]["Button"].asInt(), 0);
      EXPECT_EQ(events[at + 3]["Action"].asString(), "up");
      EXPECT_GT(events[at + 3]["Delay"].asInt(), 0);
      EXPECT_LE(events[at + 3]["Delay"].asUInt(), 65535u);
    }
    patterns.insert(JsonFileIo::StyledText(events));
  }
  EXPECT_EQ(patterns.size(), 4u);
}

TEST(DefaultDocumentsTest, ColourWindowHasTwentyPresetsAndSomeCollectedColours) {
  const Json::Value colours = ShippedDocument("color_option_info.config");
  const Json::Value& info = Member(colours, "coloroptioninfo");
  EXPECT_EQ(MissingKeys(info, {{{"palletDialogcoloroption"}, Shape::kArray},
                               {{"palletDialogcoloroption_selectitem"}, Shape::kInt},
                               {{"palletDialogcollectcoloroption"}, Shape::kArray},
                               {{"palletDialogcollectcoloroption_selectitem"}, Shape::kInt}}),
            std::vector<std::string>{});
  const std::regex argb("#[0-9A-F]{8}");
  const Json::Value& presets = info["palletDialogcoloroption"];
  ASSERT_EQ(presets.size(), 20u);
  std::set<std::string> distinct;
  for (const Json::Value& preset : presets) {
    EXPECT_TRUE(std::regex_match(ReadString(preset, "color"), argb))
        << JsonFileIo::StyledText(preset);
    distinct.insert(ReadString(preset, "color"));
  }
  EXPECT_EQ(distinct.size(), 20u);
  const Json::Value& collected = info["palletDialogcollectcoloroption"];
  EXPECT_GE(collected.size(), 2u);
  for (const Json::Value& colour : collected) {
    EXPECT_TRUE(std::regex_match(ReadString(colour, "color"), argb))
        << JsonFileIo::StyledText(colour);
    EXPECT_TRUE(Member(colour, "UserData").isString()) << JsonFileIo::StyledText(colour);
  }
  EXPECT_LT(info["palletDialogcoloroption_selectitem"].asUInt(), presets.size());
  EXPECT_LT(info["palletDialogcollectcoloroption_selectitem"].asUInt(), collected.size());
}

TEST(DefaultDocumentsTest, ShippedCustomEffectsPlayWhenTheUserHasNoConfiguration) {
  testing::TempFolder folder;
  const ProfileFolders folders{kShipped.install_data_folder, folder.path().string()};
  const Json::Value config = ShippedDocument("torva_light.config");
  for (const char* kind : {"mouse", "keyboard", "MousePad", "HD"}) {
    SCOPED_TRACE(kind);
    CBasicProfiledata data;
    data.SetDefaultPath(DefaultDocumentPath(kShipped, kind));
    data.SetLightConfigPath(LightConfigPath(folders, kind));
    EXPECT_EQ(data.LoadLightConfig(data.GetLightConfigPath()), config);
    for (uint8_t mode = 0; mode < 4; ++mode) {
      data.SetLightSettings(LightSettings{.mode = mode});
      const Json::Value effect =
          ShippedDocument(LightEffectFileName(CustomEffectGuid(config, 0, mode)));
      EXPECT_EQ(data.GetLightEffect().size(), effect["LEDEffectList"].size()) << int{mode};
      EXPECT_FALSE(data.GetLightEffect().empty());
    }
    // Nothing was written into the user's folder.
    EXPECT_FALSE(std::filesystem::exists(data.GetLightConfigPath()));
  }
}

}  // namespace
}  // namespace vorlin
