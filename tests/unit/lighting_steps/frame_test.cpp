#include "lighting_steps/frame.h"

#include <gtest/gtest.h>

namespace vorlin {
namespace {

TEST(FrameEntry, PacksRedGreenBlueLevelFromByteZero) {
  const uint32_t entry = MakeFrameEntry({0x11, 0x22, 0x33}, 0x44);
  EXPECT_EQ(entry, 0x44332211u);
  EXPECT_EQ(FrameEntryColor(entry), (Rgb{0x11, 0x22, 0x33}));
  EXPECT_EQ(FrameEntryLevel(entry), 0x44);
}

TEST(FrameEntry, ScaleByLevel) {
  EXPECT_EQ(ScaleByLevel(255, 255), 254);
  EXPECT_EQ(ScaleByLevel(200, 128), 100);
  EXPECT_EQ(ScaleByLevel(255, 0), 0);
}

TEST(KeyColorFrame, ResizeClearsAndOutsideIndicesAreHarmless) {
  KeyColorFrame frame(3);
  frame.SetKeyColor(0, 7);
  frame.SetKeyColor(2, 9);
  frame.SetKeyColor(3, 11);  // outside: ignored
  EXPECT_EQ(frame.Snapshot(), (std::vector<uint32_t>{7, 0, 9}));
  EXPECT_EQ(frame.GetKeyColor(3), 0u);
  EXPECT_EQ(frame.GetKeyColor(static_cast<size_t>(-1)), 0u);
  frame.Resize(3);  // the same size still clears
  EXPECT_EQ(frame.Snapshot(), (std::vector<uint32_t>{0, 0, 0}));
  frame.Resize(5);
  EXPECT_EQ(frame.size(), 5u);
}

TEST(FrameView, FillAndEmptyView) {
  KeyColorFrame frame(4);
  frame.view().Fill(0x01020304);
  EXPECT_EQ(frame.Snapshot(), std::vector<uint32_t>(4, 0x01020304));
  FrameView empty;
  empty.Fill(5);
  empty.Set(0, 5);
  EXPECT_EQ(empty.Get(0), 0u);
}

}  // namespace
}  // namespace vorlin
