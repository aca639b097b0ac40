#include "lighting_steps/user_sequence.h"

#include <gtest/gtest.h>

#include <vector>

#include "lighting_steps/tables.h"

namespace vorlin {
namespace {

constexpr Rgb kRed{200, 0, 0};
constexpr Rgb kBlue{0, 0, 200};

LightEffectStep Step(SequenceMode mode, uint8_t brightness, uint8_t speed, uint8_t direction,
                     bool multi, Rgb color, int32_t time = 100000) {
  LightEffectStep step;
  step.mode = static_cast<uint8_t>(mode);
  step.brightness = brightness;
  step.speed = speed;
  step.direction = direction;
  step.multi_color = multi ? 1 : 0;
  step.red = color.red;
  step.green = color.green;
  step.blue = color.blue;
  step.time = time;
  return step;
}

class UserSequence : public ::testing::Test {
 protected:
  void Play(const std::vector<LightEffectStep>& steps, uint32_t now, uint8_t device_speed = 4) {
    PlayUserSequence(state, steps, frame.view(), device_speed, now);
  }
  UserSequenceState state;
  KeyColorFrame frame{3};
};

TEST_F(UserSequence, EmptySequenceIsDark) {
  frame.view().Fill(0x12345678);
  Play({}, 0);
  EXPECT_EQ(frame.Snapshot(), std::vector<uint32_t>(3, 0));
}

TEST_F(UserSequence, StepsFollowEachOtherAfterTheirTime) {
  const std::vector<LightEffectStep> steps = {
      Step(SequenceMode::kSteady, 2, 0, 0, false, kRed, 100),
      Step(SequenceMode::kSteady, 4, 0, 0, false, kBlue, 50)};
  const std::pair<uint32_t, uint32_t> calls[] = {
      {1000, MakeFrameEntry(kRed, 135)},  {1100, MakeFrameEntry(kRed, 135)},
      {1101, MakeFrameEntry(kRed, 135)},  // shown, then the time is over
      {1102, MakeFrameEntry(kBlue, 255)}, {1152, MakeFrameEntry(kBlue, 255)},
      {1153, MakeFrameEntry(kRed, 135)},  // after the last step, the first again
  };
  for (const auto& [now, entry] : calls) {
    Play(steps, now);
    EXPECT_EQ(frame.GetKeyColor(2), entry) << "at " << now;
  }
}

TEST_F(UserSequence, ShorterSequenceLoadedUnderARunningStateStartsOver) {
  state.current = 5;
  Play({Step(SequenceMode::kSteady, 4, 0, 0, false, kBlue)}, 0);
  EXPECT_EQ(state.current, 0u);
  EXPECT_EQ(frame.GetKeyColor(0), MakeFrameEntry(kBlue, 255));
}

TEST_F(UserSequence, BreathingMulticolourTakesRedGreenBlueInTurn) {
  const std::vector<LightEffectStep> steps = {Step(SequenceMode::kBreathing, 4, 4, 0, true, kRed)};
  state.position = 62;
  Play(steps, 0);
  EXPECT_EQ(frame.GetKeyColor(0), MakeFrameEntry(WheelColor(0), 254));
  const uint8_t expected_places[] = {64, 128, 0, 64};
  for (uint8_t place : expected_places) {
    state.position = 127;
    Play(steps, 0);
    EXPECT_EQ(frame.GetKeyColor(0), MakeFrameEntry(WheelColor(place), 0));
  }
}

TEST_F(UserSequence, BreathingCountsItsSpeedThreshold) {
  const std::vector<LightEffectStep> steps = {
      Step(SequenceMode::kBreathing, 4, 3, 0, false, kRed)};  // threshold 2
  state.position = 35;
  Play(steps, 0);
  EXPECT_EQ(state.position, 35);
  Play(steps, 0);
  EXPECT_EQ(state.position, 36);
  EXPECT_EQ(frame.GetKeyColor(1), MakeFrameEntry(kRed, (94 * 255) >> 8));
  // A position left above the curve by a wave step does not read past the curve.
  state.position = 150;
  state.ticks = 0;
  Play(steps, 0);
  EXPECT_EQ(frame.GetKeyColor(1), MakeFrameEntry(kRed, (BreathLevel(150 - 128) * 255) >> 8));
  Play(steps, 0);
  EXPECT_EQ(state.position, 0);
}

TEST_F(UserSequence, BlinkingUsesTheDeviceSpeedForItsPeriod) {
  const std::vector<LightEffectStep> steps = {Step(SequenceMode::kBlinking, 4, 0, 0, true, kRed)};
  const std::pair<uint32_t, uint32_t> calls[] = {{0, 0},
                                                 {200, MakeFrameEntry(WheelColor(16), 255)},
                                                 {300, MakeFrameEntry(WheelColor(16), 255)},
                                                 {400, 0},
                                                 {600, MakeFrameEntry(WheelColor(19), 255)}};
  for (const auto& [now, entry] : calls) {
    Play(steps, now, 4);  // device speed 4: 200 ms
    EXPECT_EQ(frame.GetKeyColor(0), entry) << "at " << now;
  }
}

TEST_F(UserSequence, WaveRunsUpOrDownTheKeys) {
  struct Case {
    uint8_t direction, position;
    bool multi;
    std::vector<uint32_t> entries;
  };
  const Case cases[] = {
      {0,
       0,
       true,
       {MakeFrameEntry(WheelColor(2), 255), MakeFrameEntry(WheelColor(14), 255),
        MakeFrameEntry(WheelColor(26), 255)}},
      {1,
       0,
       true,
       {MakeFrameEntry(WheelColor(191), 255), MakeFrameEntry(WheelColor(11), 255),
        MakeFrameEntry(WheelColor(23), 255)}},
      {1,
       191,
       true,  // the position wraps to 0, whose start is 191
       {MakeFrameEntry(WheelColor(191), 255), MakeFrameEntry(WheelColor(11), 255),
        MakeFrameEntry(WheelColor(23), 255)}},
      {1,
       9,
       true,
       {MakeFrameEntry(WheelColor(182), 255), MakeFrameEntry(WheelColor(2), 255),
        MakeFrameEntry(WheelColor(14), 255)}},
      {0,
       0,
       false,
       {MakeFrameEntry(kRed, 68), MakeFrameEntry(kRed, 123), MakeFrameEntry(kRed, 193)}},
  };
  for (const auto& c : cases) {
    state = {};
    state.position = c.position;
    Play({Step(SequenceMode::kWave, 4, 4, c.direction, c.multi, kRed)}, 0);
    EXPECT_EQ(frame.Snapshot(), c.entries)
        << "direction " << int(c.direction) << " position " << int(c.position);
  }
}

TEST_F(UserSequence, SpectrumUsesItsOwnThresholds) {
  const std::vector<LightEffectStep> steps = {
      Step(SequenceMode::kSpectrum, 3, 1, 0, false, kRed)};  // threshold 5
  for (int call = 0; call < 4; ++call) Play(steps, 0);
  EXPECT_EQ(state.position, 0);
  EXPECT_EQ(frame.GetKeyColor(0), MakeFrameEntry(WheelColor(0), 195));
  Play(steps, 0);
  EXPECT_EQ(state.position, 1);
  EXPECT_EQ(frame.GetKeyColor(0), MakeFrameEntry(WheelColor(1), 195));
}

TEST_F(UserSequence, UnknownModeLeavesTheFrame) {
  frame.view().Fill(77);
  Play({Step(static_cast<SequenceMode>(3), 4, 0, 0, false, kRed)}, 0);
  EXPECT_EQ(frame.Snapshot(), std::vector<uint32_t>(3, 77));
}

}  // namespace
}  // namespace vorlin
