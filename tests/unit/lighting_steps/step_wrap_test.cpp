#include "lighting_steps/step_wrap.h"

#include <gtest/gtest.h>

namespace vorlin {
namespace {

TEST(StepWrap, Cases) {
  struct Case {
    bool forward;
    int limit, value, step, expected;
  };
  const Case cases[] = {
      {true, 128, 0, 1, 1},
      {true, 128, 126, 1, 127},
      {true, 128, 127, 1, 0},
      {true, 192, 191, 1, 0},
      {true, 96, 93, 3, 0},
      {true, 96, 92, 3, 95},
      {false, 128, 0, 1, 127},
      {false, 128, 5, 1, 4},
      {false, 96, 2, 3, 93},
      {false, 96, 3, 3, 0},
      {false, 192, 0, 1, 191},
      {true, 4, 3, 1, 0},
      // Values left over from an effect with a longer cycle.
      {true, 128, 150, 1, 0},
      {false, 128, 150, 1, 127},
      {true, 96, 254, 3, 0},
      {true, 128, 255, 1, 0},
      {false, 96, 255, 3, 93},
      // A zero-length cycle has one place.
      {true, 0, 9, 1, 0},
      {false, 0, 9, 1, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(StepWrap(c.forward, static_cast<uint8_t>(c.limit), static_cast<uint8_t>(c.value),
                       static_cast<uint8_t>(c.step)),
              c.expected)
        << (c.forward ? "forward" : "backward") << " limit " << c.limit << " value " << c.value
        << " step " << c.step;
  }
}

TEST(StepWrap, ResultAlwaysInsideTheCycle) {
  for (int limit : {4, 96, 128, 192}) {
    for (int step : {1, 3, 12, 16}) {
      if (step > limit) continue;
      for (int value = 0; value < 256; ++value) {
        for (bool forward : {true, false}) {
          EXPECT_LT(StepWrap(forward, static_cast<uint8_t>(limit), static_cast<uint8_t>(value),
                             static_cast<uint8_t>(step)),
                    limit);
        }
      }
    }
  }
}

TEST(CountTick, FiresEveryThresholdCalls) {
  const std::pair<uint8_t, std::vector<bool>> cases[] = {
      {0, {true, true, true}},
      {1, {true, true, true}},
      {2, {false, true, false, true}},
      {8, {false, false, false, false, false, false, false, true, false}},
  };
  for (const auto& [threshold, pattern] : cases) {
    uint32_t count = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
      EXPECT_EQ(CountTick(count, threshold), pattern[i])
          << "threshold " << int(threshold) << " call " << i;
    }
  }
}

}  // namespace
}  // namespace vorlin
