// The effect name lists of "default_light.json" and the light configuration.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "profiles/json_file_io.h"
#include "profiles/light_name_lists.h"

namespace vorlin {
namespace {

using Names = std::vector<std::string>;

TEST(LightNameListsTest, DefaultNamesAreReadPerLightIndex) {
  const Json::Value document = JsonFileIo::ParseJsonText(R"({
      "DefaultLightName": [
          [{"LightName": "light_mode_wave", "visible": 1, "value": 0},
           {"LightName": "light_mode_dark", "visible": 0, "value": 28}],
          "not a list",
          [7, {"LightName": 3, "visible": "yes", "value": "1"}, {"visible": 2, "value": 1e3}]],
      "AreaLightName": [[{"LightName": "area_a"}, {}], null]})");
  EXPECT_EQ(
      ReadDefaultLightNames(document, 0),
      (std::vector<LightModeName>{{"light_mode_wave", true, 0}, {"light_mode_dark", false, 28}}));
  // A present list with damaged elements: wrong shapes read as empty, false and 0.
  EXPECT_EQ(ReadDefaultLightNames(document, 2),
            (std::vector<LightModeName>{{"", false, 0}, {"", false, 0}, {"", true, 1000}}));
  // No list for the index: nothing, so a page keeps the names it has.
  EXPECT_EQ(ReadDefaultLightNames(document, 1), std::nullopt);
  EXPECT_EQ(ReadDefaultLightNames(document, 3), std::nullopt);
  EXPECT_EQ(ReadAreaLightNames(document, 0), (Names{"area_a", ""}));
  EXPECT_EQ(ReadAreaLightNames(document, 1), std::nullopt);
  EXPECT_EQ(ReadDefaultLightNames(Json::Value("text"), 0), std::nullopt);
}

TEST(LightNameListsTest, CustomEffectsOfTheLightConfiguration) {
  const Json::Value config = JsonFileIo::ParseJsonText(R"({"LightInfo": [
      [{"Guid": "a1", "LightName": "custom_light_fire"}, {"LightName": "no guid"}, 5],
      [],
      {"0": []}]})");
  EXPECT_EQ(ReadCustomLightNames(config, 0), (Names{"custom_light_fire", "no guid", ""}));
  EXPECT_EQ(ReadCustomLightNames(config, 1), Names{});
  EXPECT_EQ(ReadCustomLightNames(config, 2), std::nullopt);
  EXPECT_EQ(CustomEffectGuid(config, 0, 0), "a1");
  EXPECT_EQ(CustomEffectGuid(config, 0, 1), "");
  EXPECT_EQ(CustomEffectGuid(config, 0, 2), "");
  EXPECT_EQ(CustomEffectGuid(config, 0, 9), "");
  EXPECT_EQ(CustomEffectGuid(config, 5, 0), "");
}

// The mouse's list: twelve built-in effects, the user sequence at 9 and 11.
TEST(LightNameListsTest, EffectNumbersPastTheBuiltInOnesAreTheCustomEffects) {
  std::vector<LightModeName> builtin(12, LightModeName{"light_mode_wave", true, 0});
  builtin[9].name = "light_mode_user_sequence";
  builtin[11].name = "light_mode_user_sequence_2";
  const struct {
    int effect;
    std::optional<Json::ArrayIndex> position;
  } cases[] = {{0, std::nullopt}, {8, std::nullopt}, {9, 0},  {11, 0},
               {12, 0},           {13, 1},           {40, 28}, {-1, std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(CustomEffectPosition(c.effect, builtin), c.position) << c.effect;
  EXPECT_EQ(CustomEffectPosition(0, {}), 0u);  // no built-in list: every number is custom
}

TEST(LightNameListsTest, EffectFileNamesStayInTheirFolder) {
  const struct {
    std::string guid;
    std::string file;
  } cases[] = {
      {"6b1f3c2e-9a4d-4e57-8c1a-2f0d5e7b9a01", "6b1f3c2e-9a4d-4e57-8c1a-2f0d5e7b9a01.light"},
      {"", ""},  // an entry without a Guid names no file (not a hidden ".light")
      {"..", "...light"},
      {"../escape", ""},
      {"/etc/passwd", ""},
      {std::string("a\0b", 3), ""},
  };
  for (const auto& c : cases) EXPECT_EQ(LightEffectFileName(c.guid), c.file) << c.guid;
}

}  // namespace
}  // namespace vorlin
