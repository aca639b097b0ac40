// The mouse preview's reactive effect and the power panel view of a status record.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "devices/mouse_power_view.h"
#include "devices/mouse_reactive_step.h"
#include "lighting_steps/tables.h"

namespace vorlin {
namespace {

class ReactiveStepTest : public ::testing::Test {
 protected:
  static constexpr size_t kLights = 11;
  void Step() { ReactiveStep(lights_, cells_, FrameView(words_), params_); }
  void Click() {
    TriggerReactive(lights_, cells_, kLights, [this] { return next_position_++; });
  }
  ReactiveLights lights_;
  EffectCells cells_;
  std::vector<uint32_t> words_ = std::vector<uint32_t>(kLights, 0);
  EffectParams params_{6, 4, 2, 0, false, Rgb{0x10, 0x20, 0x30}};
  uint8_t next_position_ = 190;
};

TEST_F(ReactiveStepTest, AClickLightsEveryLightAtOnceAndFadesByFifteenPerStep) {
  Click();
  std::vector<uint8_t> seen;
  for (int step = 0; step < 19; ++step) {
    Step();
    seen.push_back(cells_.Key(0));
    for (size_t i = 1; i < kLights; ++i) ASSERT_EQ(cells_.Key(i), cells_.Key(0));
  }
  const std::vector<uint8_t> expected = {255, 240, 225, 210, 195, 180, 165, 150, 135, 120,
                                         105, 90,  75,  60,  45,  30,  15,  0,   0};
  EXPECT_EQ(seen, expected);
  EXPECT_EQ(lights_.trigger[0], ReactiveLights::kFalling);
  EXPECT_EQ(cells_.Key(kLights), 0) << "lights beyond the frame are not triggered";
}

TEST_F(ReactiveStepTest, TheFrameShowsTheColourAtBrightnessTimesCell) {
  Click();
  Step();  // full
  EXPECT_EQ(words_[0], MakeFrameEntry(Rgb{0x10, 0x20, 0x30}, (255 * 255) >> 8));
  params_.brightness = 1;
  params_.multi_color = true;
  Step();  // 240
  // Positions were handed out from 190 on, modulo 192: 190, 191, 0, 1, ...
  EXPECT_EQ(words_[0], MakeFrameEntry(WheelColor(190), (80 * 240) >> 8));
  EXPECT_EQ(words_[2], MakeFrameEntry(WheelColor(0), (80 * 240) >> 8));
}

TEST_F(ReactiveStepTest, ARisingLightClimbsToFullBeforeItFalls) {
  lights_.trigger[0] = ReactiveLights::kRising;
  cells_.SetKey(0, 230);
  Step();
  EXPECT_EQ(cells_.Key(0), 245);
  EXPECT_EQ(lights_.trigger[0], ReactiveLights::kRising);
  Step();
  EXPECT_EQ(cells_.Key(0), 255);
  EXPECT_EQ(lights_.trigger[0], ReactiveLights::kFalling);
  // Idle lights stay dark.
  EXPECT_EQ(cells_.Key(1), 0);
  EXPECT_EQ(FrameEntryLevel(words_[1]), 0);
}

TEST(PowerPanelViewTest, TheStatusRecordDecidesWhatThePanelShows) {
  struct Case {
    const char* what;
    std::array<uint8_t, 6> status;
    int kind;
    bool logo_shown;
    PowerPanelView expected;
  };
  const std::vector<Case> cases = {
      {"on battery by receiver", {85, 2, 0, 1, 0, 0}, 1, false,
       {"85%", 15, true, true, "file='power/power.png'", {}, {}}},
      {"charged by cable", {100, 0, 0, 0, 0, 0}, 2, true,
       {"100%", 0, false, true, "file='power/powered.png'", {}, {}}},
      {"charging by receiver: no progress bar", {40, 1, 0, 1, 0, 0}, 1, false,
       {"40%", 60, true, {}, "file='power/powering.png'", {}, {}}},
      {"charging by cable", {40, 1, 0, 0, 0, 0}, 1, true,
       {"40%", 60, false, true, "file='power/powering.png'", {}, {}}},
      {"kind 0 keeps the logo as it is", {40, 1, 0, 1, 0, 0}, 0, true,
       {"40%", 60, {}, {}, "file='power/powering.png'", {}, {}}},
      {"unknown power state", {7, 9, 0, 0, 0, 0}, 0, false, {"7%", 93, {}, {}, {}, {}, {}}},
      {"a paired iPhone", {50, 2, 0, 0, 0, 1}, 3, false,
       {"50%", 50, {}, true, "file='power/power.png'", "Phone_type_iphone",
        "file='power/Phone_type_iphone.png'"}},
      {"no paired phone", {50, 2, 0, 0, 0, 9}, 3, false,
       {"50%", 50, {}, true, "file='power/power.png'", "Phone_type_no_device",
        "file='power/Phone_type_no_device.png'"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(BuildPowerPanelView(c.status, c.kind, c.logo_shown), c.expected) << c.what;
}

}  // namespace
}  // namespace vorlin
