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

TEST_F(LightEffectTest, BareNameIsStillFoundInTheCurrentFolder) {
  TempFolder current;
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(current.path());
  WriteText(current.File("in-current-folder.light"), kEffect);
  const std::vector<LightEffectStep> steps = EffectOfMode(3);
  std::filesystem::current_path(previous);
  EXPECT_EQ(steps.size(), 2u);
}

}  // namespace
}  // namespace vorlin
