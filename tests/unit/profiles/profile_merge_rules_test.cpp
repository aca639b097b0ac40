// How getters merge documents into caches and complete missing parts of the entry.
#include <gtest/gtest.h>

#include <string>

#include "profiles/hs6533_profile_data.h"
#include "profiles/json_file_io.h"
#include "profiles/keyboard_profile_data.h"
#include "profiles/mouse_profile_data.h"

namespace vorlin {
namespace {

Json::Value Parse(const std::string& text) {
  return JsonFileIo::ParseJsonText(text);
}

Json::Value StagesEntry(int count, int first_code) {
  Json::Value entry = Parse(R"({"KeyList": [], "DPIStages": {"StageActive": 1}})");
  for (int i = 0; i < count; ++i) {
    Json::Value& stage = entry["DPIStages"]["StageDPIs"][i];
    stage["StageActive"] = 1;
    stage["StageDPIX"] = first_code + i;
    stage["StageDPIY"] = first_code + i;
  }
  return entry;
}

TEST(DpiStageMergeTest, CachedStagesBeyondTheDocumentStay) {
  CMouseProfiledata data;
  data.AdoptDeviceEntry(StagesEntry(5, 100));
  ASSERT_EQ(data.GetDpiStages().size(), 5u);
  data.AdoptDeviceEntry(StagesEntry(3, 200));
  const std::vector<DpiStage> merged = data.GetDpiStages();
  ASSERT_EQ(merged.size(), 5u);
  EXPECT_EQ(merged[0].dpi_x, 200);
  EXPECT_EQ(merged[2].dpi_x, 202);
  EXPECT_EQ(merged[3].dpi_x, 103);  // kept from the cache
  EXPECT_EQ(merged[4].dpi_x, 104);
}

TEST(DpiStageMergeTest, SettingFewerStagesLeavesTheRestOfTheDocument) {
  CMouseProfiledata data;
  data.AdoptDeviceEntry(StagesEntry(5, 100));
  data.SetDpiStages({DpiStage{1, 0, 1, 1, 0, 0, 0}, DpiStage{1, 0, 2, 2, 0, 0, 0},
                     DpiStage{1, 0, 3, 3, 0, 0, 0}});
  const Json::Value& stages = data.GetDeviceEntry()["DPIStages"]["StageDPIs"];
  ASSERT_EQ(stages.size(), 5u);
  EXPECT_EQ(stages[2]["StageDPIX"].asInt(), 3);
  EXPECT_EQ(stages[3]["StageDPIX"].asInt(), 103);
  EXPECT_EQ(stages[4]["StageDPIX"].asInt(), 104);
}

TEST(DpiStageMergeTest, MissingStagesKeepTheCacheAndCurrentStage) {
  CMouseProfiledata data;
  data.AdoptDeviceEntry(StagesEntry(2, 100));
  data.GetDpiStages();
  data.SetCurrentDpiStage(1);
  data.AdoptDeviceEntry(Parse(R"({"KeyList": []})"));
  EXPECT_EQ(data.GetDpiStages().size(), 2u);
  EXPECT_EQ(data.GetCurrentDpiStage(), 1);
}

TEST(EqualiserPresetTest, PresetNumbersMapToBuiltInPresets) {
  const std::pair<int, int> cases[] = {{0, 1},   {1, 1},  {7, 7},  {12, 12},
                                       {13, -1}, {14, 1}, {-3, 1}, {1000, 1}};
  for (const auto& [preset, index] : cases)
    EXPECT_EQ(CHs6533Profiledata::BuiltInPresetIndex(preset), index) << preset;
}

TEST(EqualiserPresetTest, PresetZeroAndFourteenShareTheFirstPreset) {
  CHs6533Profiledata data;
  data.AdoptDeviceEntry(Parse(R"({"KeyList": []})"));
  data.SetPresetValues(14, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
  EXPECT_EQ(data.GetPresetValues(0), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(data.GetDeviceEntry()["EQHzValueInfo"][1][9]["value"].asInt(), 10);
}

TEST(EqualiserPresetTest, CustomPresetNumberReadsNothingAndWritesNothing) {
  CHs6533Profiledata data;
  data.AdoptDeviceEntry(Parse(R"({"KeyList": []})"));
  EXPECT_TRUE(data.GetPresetValues(13).empty());
  data.SetPresetValues(13, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1});
  EXPECT_EQ(data.GetDeviceEntry(), Parse(R"({"KeyList": []})"));
}

TEST(EqualiserPresetTest, MissingPresetReadsAsZerosAndIsCompletedInTheEntry) {
  CHs6533Profiledata data;
  data.AdoptDeviceEntry(Parse(R"({"KeyList": [], "EQHzValueInfo": [null, [{"value": 4}]]})"));
  EXPECT_EQ(data.GetPresetValues(3), std::vector<int>(10, 0));
  const Json::Value& preset = data.GetDeviceEntry()["EQHzValueInfo"][3];
  ASSERT_EQ(preset.size(), 10u);
  for (const Json::Value& band : preset) EXPECT_EQ(band, Parse(R"({"value": 0})"));
  // Preset 1 had one band: it is read, the other nine are completed.
  EXPECT_EQ(data.GetPresetValues(1), (std::vector<int>{4, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(data.GetDeviceEntry()["EQHzValueInfo"][1].size(), 10u);
}

TEST(EqualiserPresetTest, CustomPresetIndexOutOfRangeIsIgnored) {
  CHs6533Profiledata data;
  data.AdoptDeviceEntry(Parse(R"({"KeyList": []})"));
  EXPECT_TRUE(data.GetCustomPresetValues(-1).empty());
  EXPECT_TRUE(data.GetCustomPresetValues(2'000'000'000).empty());
  data.SetCustomPresetValues(2'000'000'000, {});
  EXPECT_EQ(data.GetDeviceEntry(), Parse(R"({"KeyList": []})"));
}

TEST(CustomColourTest, MissingColoursAreAddedAsZeroObjects) {
  CKeyboardProfiledata data;
  data.AdoptDeviceEntry(Parse(R"({"KeyList": [], "CustomLightMode": {"LightColorInfo": [
      [{"Red": 1, "Green": 2, "Blue": 3, "Alpha": 4}]]}})"));
  const std::vector<CustomLightColor> group0 = data.GetCustomLightColors(0, 3);
  EXPECT_EQ(group0, (std::vector<CustomLightColor>{{1, 2, 3, 4}, {}, {}}));
  const Json::Value& groups = data.GetDeviceEntry()["CustomLightMode"]["LightColorInfo"];
  ASSERT_EQ(groups[0].size(), 3u);
  EXPECT_EQ(groups[0][2], Parse(R"({"Red": 0, "Green": 0, "Blue": 0, "Alpha": 0})"));

  EXPECT_EQ(data.GetCustomLightColors(2, 2).size(), 2u);
  EXPECT_EQ(data.GetDeviceEntry()["CustomLightMode"]["LightColorInfo"][2].size(), 2u);
  EXPECT_TRUE(data.GetCustomLightColors(-1, 5).empty());
  EXPECT_TRUE(data.GetCustomLightColors(0, 1'000'000).empty());
}

TEST(CustomColourTest, GroupIndexDefaultsToZero) {
  CKeyboardProfiledata data;
  data.AdoptDeviceEntry(Parse(R"({"KeyList": [], "CustomLightMode": {}})"));
  EXPECT_EQ(data.GetCustomGroupIndex(), 0);
  data.SetCustomGroupIndex(3);
  EXPECT_EQ(data.GetCustomGroupIndex(), 3);
}

TEST(DeviceKeyListTest, DeviceFunctionsAreLaidOverTheProfileKeys) {
  CBasicProfiledata data;
  data.AdoptDeviceEntry(Parse(R"({"KeyList": [
      {"Assignment": 1048832, "DefaultAssignment": 1048832},
      {"Assignment": 1049088, "DefaultAssignment": 1049088},
      {"Assignment": 1049600, "DefaultAssignment": 1049600},
      {"Assignment": 1052672, "DefaultAssignment": 1052672}]})"));
  std::array<uint8_t, CBasicProfiledata::kDeviceKeyTableBytes> table{};
  table[2 * 3] = 0x70;  // row 2: macro 1
  table[2 * 3 + 1] = 0x01;
  table[169 * 3] = 0x13;  // row 169, the last whole row
  table[169 * 3 + 1] = 0x03;
  data.SetDeviceKeyTable(table);
  // Key 0 → row 2, key 1 → row 170 (no slot), key 2 → row 169, key 3 → not in the map.
  data.SetKeyIndexMap({{0, 2}, {1, 170}, {2, 169}, {5, 0}});
  const std::vector<KeyAssignmentPair> keys = data.GetDeviceKeyList();
  ASSERT_EQ(keys.size(), 4u);
  EXPECT_EQ(keys[0].current.PackedCode(), 0x700100u);
  EXPECT_EQ(keys[1].current.PackedCode(), 1049088u);  // row 170 lies past the table
  EXPECT_EQ(keys[2].current.PackedCode(), 0x130300u);
  EXPECT_EQ(keys[3].current.PackedCode(), 1052672u);
  EXPECT_EQ(keys[0].factory.PackedCode(), 1048832u);
  // The plain key list still shows the profile's own functions.
  EXPECT_EQ(data.GetKeyList()[0].current.PackedCode(), 1048832u);
}

TEST(DeviceKeyListTest, ShortDeviceTableIsPaddedWithZeros) {
  CBasicProfiledata data;
  data.AdoptDeviceEntry(Parse(R"({"KeyList": [{"Assignment": 5}]})"));
  const uint8_t three[] = {0x10, 0x01, 0x00};
  data.SetDeviceKeyTable(three);
  data.SetKeyIndexMap({{0, 1}});
  EXPECT_EQ(data.GetDeviceKeyList()[0].current.PackedCode(), 0u);
}

}  // namespace
}  // namespace vorlin
