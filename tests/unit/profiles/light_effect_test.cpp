// Resolving the selected custom light effect through the light configuration.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "profiles/basic_profile_data.h"
#include "profiles/json_file_io.h"
#include "unit/profiles/temp_folder.h"

namespace vorlin {
namespace {

using testing::TempFolder;
using testing::WriteText;

constexpr const char* kEffect = R"({"LEDEffectList": [
    {"LEDREGMode": 3, "LEDBrightness": 4, "LEDSpeed": 2, "LEDDirection": 1, "LEDMultiColor": 0,
     "red": 255, "green": 128, "blue": 1, "Time": 1500, "Cyle": 3},
    {"LEDREGMode": 1, "Time": 70000}]})";

class LightEffectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteText(config_path_, R"({"LightInfo": [[
        {"Guid": "first", "LightName": "Fire"},
        {"LightName": "No file"},
        {"Guid": "../escape", "LightName": "Elsewhere"},
        {"Guid": "in-current-folder", "LightName": "Old place"}]]})");
    data_.SetLightConfigPath(config_path_);
    data_.LoadLightConfig(config_path_);
  }
  std::vector<LightEffectStep> EffectOfMode(uint8_t mode) {
    data_.SetLightSettings(LightSettings{.mode = mode});
    return data_.GetLightEffect();
  }

  TempFolder folder_;
  std::string config_path_ = folder_.File("torva_light.config");
  CBasicProfiledata data_;
};

TEST_F(LightEffectTest, StepsComeFromTheEffectFileBesideTheConfiguration) {
  WriteText(folder_.File("first.light"), kEffect);
  const std::vector<LightEffectStep> steps = EffectOfMode(0);
  ASSERT_EQ(steps.size(), 2u);
  EXPECT_EQ(steps[0].mode, 3);
  EXPECT_EQ(steps[0].direction, 1);
  EXPECT_EQ(steps[0].red, 255);
  EXPECT_EQ(steps[0].green, 128);
  EXPECT_EQ(steps[0].time, 1500);
  EXPECT_EQ(steps[0].cycle, 3);
  EXPECT_EQ(steps[1].mode, 1);
  EXPECT_EQ(steps[1].red, 0);
  EXPECT_EQ(steps[1].time, 70000);
}

TEST_F(LightEffectTest, NothingToPlayGivesNoSteps) {
  WriteText(folder_.File("first.light"), kEffect);
  // An effect without "Guid" looks for ".light", which does not exist.
  EXPECT_TRUE(EffectOfMode(1).empty());
  // A Guid with a folder in it is not followed out of the folder.
  WriteText(folder_.path().parent_path() / "escape.light", kEffect);
  EXPECT_TRUE(EffectOfMode(2).empty());
  std::filesystem::remove(folder_.path().parent_path() / "escape.light");
  // A mode beyond the list.
  EXPECT_TRUE(EffectOfMode(9).empty());
  // No configuration at all.
  CBasicProfiledata fresh;
  EXPECT_TRUE(fresh.GetLightEffect().empty());
}

TEST_F(LightEffectTest, EffectFileIsNeverTakenFromTheCurrentFolder) {
  // Where the program was started from must not change which effect plays.
  TempFolder current;
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(current.path());
  WriteText(current.File("in-current-folder.light"), kEffect);
  const std::vector<LightEffectStep> steps = EffectOfMode(3);
  std::filesystem::current_path(previous);
  EXPECT_TRUE(steps.empty());
}

// A user folder and a factory folder ("DefaultData") side by side.
class LightConfigFallbackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(user_);
    std::filesystem::create_directories(factory_);
    WriteText(factory_ / "torva_light.config", R"({"LightInfo": [[
        {"Guid": "factory-fire", "LightName": "custom_light_fire"},
        {"Guid": "shared", "LightName": "custom_light_ocean"}]]})");
    WriteText(factory_ / "factory-fire.light", kEffect);
    WriteText(factory_ / "shared.light", R"({"LEDEffectList": [{"LEDREGMode": 5, "Time": 1}]})");
    data_.SetDefaultPath((factory_ / "mouse.Json").string());
    data_.SetLightConfigPath(config_path_);
  }
  std::vector<LightEffectStep> EffectOfMode(uint8_t mode) {
    data_.SetLightSettings(LightSettings{.mode = mode});
    return data_.GetLightEffect();
  }

  TempFolder root_;
  std::filesystem::path user_ = root_.path() / "user" / "mouse";
  std::filesystem::path factory_ = root_.path() / "install" / "DefaultData";
  std::string config_path_ = (user_ / "torva_light.config").string();
  CBasicProfiledata data_;
};

TEST_F(LightConfigFallbackTest, FactoryConfigurationAppliesWhileTheUserHasNone) {
  const Json::Value config = data_.LoadLightConfig(config_path_);
  EXPECT_EQ(config, JsonFileIo::ReadJsonFile(factory_ / "torva_light.config"));
  EXPECT_EQ(EffectOfMode(0).size(), 2u);
  EXPECT_EQ(EffectOfMode(1).size(), 1u);
  // The user's folder stays as it was: the configuration is read only.
  EXPECT_FALSE(std::filesystem::exists(config_path_));
}

TEST_F(LightConfigFallbackTest, UnreadableUserConfigurationFallsBackAndIsLeftAlone) {
  for (const char* text : {"{ not json", "\xff\xfe\x01", "null"}) {
    SCOPED_TRACE(text);
    WriteText(config_path_, text);
    EXPECT_EQ(data_.LoadLightConfig(config_path_),
              JsonFileIo::ReadJsonFile(factory_ / "torva_light.config"));
    EXPECT_EQ(EffectOfMode(0).size(), 2u);
    EXPECT_EQ(testing::ReadText(config_path_), text);
  }
}

TEST_F(LightConfigFallbackTest, UserEffectsComeFromTheUserFolderThenTheFactoryFolder) {
  WriteText(config_path_, R"({"LightInfo": [[
      {"Guid": "mine", "LightName": "x"},
      {"Guid": "shared", "LightName": "y"},
      {"Guid": "factory-fire", "LightName": "z"},
      {"Guid": "nowhere", "LightName": "w"}]]})");
  WriteText(user_ / "mine.light", R"({"LEDEffectList": [{"LEDREGMode": 1}, {}, {}]})");
  // The user's own copy of a shared effect wins over the factory's.
  WriteText(user_ / "shared.light", R"({"LEDEffectList": [{"LEDREGMode": 2}, {}]})");
  data_.LoadLightConfig(config_path_);
  EXPECT_EQ(EffectOfMode(0).size(), 3u);
  ASSERT_EQ(EffectOfMode(1).size(), 2u);
  EXPECT_EQ(EffectOfMode(1)[0].mode, 2);
  EXPECT_EQ(EffectOfMode(2).size(), 2u);  // only among the factory documents
  EXPECT_TRUE(EffectOfMode(3).empty());
}

TEST_F(LightConfigFallbackTest, FactoryConfigurationNeverReadsEffectsFromTheUserFolder) {
  // The factory configuration names its effects; a file of the same name that happens to lie in
  // the user's folder is not what the factory meant.
  WriteText(user_ / "factory-fire.light", R"({"LEDEffectList": [{}]})");
  data_.LoadLightConfig(config_path_);
  EXPECT_EQ(EffectOfMode(0).size(), 2u);
}

TEST_F(LightConfigFallbackTest, AdoptedConfigurationLooksBesideTheConfigurationPath) {
  WriteText(user_ / "mine.light", R"({"LEDEffectList": [{}, {}, {}, {}]})");
  data_.AdoptLightConfig(JsonFileIo::ParseJsonText(
      R"({"LightInfo": [[{"Guid": "mine"}, {"Guid": "factory-fire"}]]})"));
  EXPECT_EQ(EffectOfMode(0).size(), 4u);
  EXPECT_EQ(EffectOfMode(1).size(), 2u);
}

}  // namespace
}  // namespace vorlin
