// The picture of a gun: the pointer's path bullet by bullet and how it is fitted into its view.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "shoot/shoot_pattern.h"

namespace vorlin {
namespace {

TEST(ShootPatternTest, PathFollowsTheBulletsDirections) {
  const struct {
    const char* name;
    std::vector<Bullet> bullets;
    std::vector<PatternPoint> points;
  } cases[] = {
      {"no bullets", {}, {{0, 0}}},
      {"right and down", {{false, 3, false, 4, 10}}, {{0, 0}, {3, 4}}},
      {"left and up", {{true, 3, true, 4, 10}}, {{0, 0}, {-3, -4}}},
      {"adds up",
       {{false, 1, false, 2, 0}, {true, 5, false, 2, 0}, {false, 0, true, 10, 0}},
       {{0, 0}, {1, 2}, {-4, 4}, {-4, -6}}},
      // A stored 300 moves the pointer 44, as the mouse keeps only the low 8 bits.
      {"as the mouse moves", {{false, 300, false, 256, 0}}, {{0, 0}, {44, 0}}},
  };
  for (const auto& c : cases) EXPECT_EQ(PatternPoints(c.bullets), c.points) << c.name;
}

TEST(ShootPatternTest, FitKeepsEveryPointInsideTheMargins) {
  const struct {
    const char* name;
    std::vector<PatternPoint> points;
    double width, height;
  } cases[] = {
      {"tall", {{0, 0}, {2, 40}, {-3, 120}, {1, 200}}, 320, 170},
      {"wide", {{0, 0}, {-150, 3}, {90, -2}}, 320, 170},
      {"diagonal", {{0, 0}, {50, 50}, {100, 100}}, 200, 400},
      {"one step", {{0, 0}, {0, 1}}, 320, 170},
  };
  const double margin = 14;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const PatternFrame frame = FitPattern(c.points, c.width, c.height, margin, 4.0);
    EXPECT_GT(frame.scale, 0);
    EXPECT_LE(frame.scale, 4.0);
    double min_x = 1e9, max_x = -1e9, min_y = 1e9, max_y = -1e9;
    for (const PatternPoint& p : c.points) {
      const double x = p.x * frame.scale + frame.offset_x;
      const double y = p.y * frame.scale + frame.offset_y;
      EXPECT_GE(x, margin - 1e-9);
      EXPECT_LE(x, c.width - margin + 1e-9);
      EXPECT_GE(y, margin - 1e-9);
      EXPECT_LE(y, c.height - margin + 1e-9);
      min_x = std::min(min_x, x);
      max_x = std::max(max_x, x);
      min_y = std::min(min_y, y);
      max_y = std::max(max_y, y);
    }
    // Centred.
    EXPECT_NEAR((min_x + max_x) / 2, c.width / 2, 1e-9);
    EXPECT_NEAR((min_y + max_y) / 2, c.height / 2, 1e-9);
  }
}

TEST(ShootPatternTest, FitUsesTheRoomOfTheLongerSide) {
  // 200 units tall in 170 - 28 = 142 pixels of height: 0.71 per unit, whatever the width.
  const PatternFrame tall = FitPattern({{0, 0}, {0, 200}}, 320, 170, 14, 4.0);
  EXPECT_NEAR(tall.scale, 142.0 / 200.0, 1e-9);
  // A short path is not blown up past the largest scale.
  const PatternFrame small = FitPattern({{0, 0}, {1, 1}}, 320, 170, 14, 4.0);
  EXPECT_DOUBLE_EQ(small.scale, 4.0);
  // A single point sits in the middle.
  const PatternFrame point = FitPattern({{5, 7}}, 300, 100, 14, 4.0);
  EXPECT_DOUBLE_EQ(5 * point.scale + point.offset_x, 150);
  EXPECT_DOUBLE_EQ(7 * point.scale + point.offset_y, 50);
  // An area smaller than its margins shrinks the path to a point instead of flipping it.
  const PatternFrame cramped = FitPattern({{0, 0}, {10, 10}}, 20, 20, 14, 4.0);
  EXPECT_DOUBLE_EQ(cramped.scale, 0.0);
}

}  // namespace
}  // namespace vorlin
