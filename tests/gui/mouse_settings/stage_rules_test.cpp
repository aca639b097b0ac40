// Which enable options of the stage rows may be used, which stage may be switched off, and what
// an option row shows for a stored value.
#include "mouse_settings/stage_rules.h"

#include <gtest/gtest.h>

namespace vorlin {
namespace {

StageFlags Flags(std::initializer_list<int> on) {
  StageFlags flags{};
  for (int i : on) flags[static_cast<size_t>(i)] = true;
  return flags;
}

TEST(StageRulesTest, UsableEnableOptions) {
  struct Case {
    StageFlags enabled;
    int current;
    StageFlags usable;
  };
  const Case cases[] = {
      // The current stage is never usable.
      {Flags({0, 1, 2, 3, 4, 5}), 2, Flags({0, 1, 3, 4, 5})},
      {Flags({0, 5}), 0, Flags({1, 2, 3, 4, 5})},
      // A lone enabled stage that is not current is locked as the last one.
      {Flags({1}), 3, Flags({0, 2, 4, 5})},
      // A second enabled stage frees it again.
      {Flags({1, 4}), 3, Flags({0, 1, 2, 4, 5})},
      // A current stage outside the rows marks none as current.
      {Flags({0, 1}), 9, Flags({0, 1, 2, 3, 4, 5})},
      {Flags({2}), -1, Flags({0, 1, 3, 4, 5})},
  };
  for (const Case& c : cases) {
    const StageFlags usable = UsableEnableOptions(c.enabled, c.current);
    for (int i = 0; i < kDpiStageRows; ++i) {
      EXPECT_EQ(usable[static_cast<size_t>(i)], c.usable[static_cast<size_t>(i)])
          << "current " << c.current << " option " << i;
    }
  }
}

TEST(StageRulesTest, MaySwitchOff) {
  struct Case {
    StageFlags enabled;
    int stage;
    int current;
    bool allowed;
  };
  const Case cases[] = {
      {Flags({0, 1}), 1, 0, true},   {Flags({0, 1}), 0, 0, false},  // current
      {Flags({1}), 1, 3, false},                                      // the last one
      {Flags({1, 2}), 1, 3, true},   {Flags({}), 2, 0, false},
      {Flags({0, 1}), 6, 0, false},  {Flags({0, 1}), -1, 0, false},  // not a row
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MaySwitchOff(c.enabled, c.stage, c.current), c.allowed)
        << "stage " << c.stage << " current " << c.current;
  }
}

TEST(StageRulesTest, OutOfRangeValuesShowTheFirstOption) {
  struct Case {
    int value;
    int count;
    int shown;
  };
  const Case cases[] = {{3, 5, 3}, {4, 5, 4}, {5, 5, 0}, {-1, 5, 0}, {1, 2, 1}, {2, 2, 0},
                        {65535, 2, 0}};
  for (const Case& c : cases) EXPECT_EQ(ShownOption(c.value, c.count), c.shown) << c.value;
}

TEST(StageRulesTest, GrowStagesAddsOnlyWhatIsMissing) {
  std::vector<DpiStage> stages(2);
  stages[1].dpi_x = 9;
  GrowStages(stages, 4, [](int i) {
    DpiStage made;
    made.dpi_x = static_cast<uint16_t>(100 + i);
    return made;
  });
  ASSERT_EQ(stages.size(), 4u);
  EXPECT_EQ(stages[1].dpi_x, 9);
  EXPECT_EQ(stages[2].dpi_x, 102);
  EXPECT_EQ(stages[3].dpi_x, 103);
  GrowStages(stages, 3, [](int) { return DpiStage{}; });
  EXPECT_EQ(stages.size(), 4u);
}

}  // namespace
}  // namespace vorlin
