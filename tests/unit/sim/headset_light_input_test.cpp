#include "sim/headset_light_input.h"

#include <gtest/gtest.h>

#include "sim_test_util.h"

namespace vorlin {
namespace {

using testing::Bytes;

TEST(HeadsetLightInput, StoresEachPlane) {
  struct Case {
    const char* report;
    int side;
    int colour;
    int firstLed;
    std::vector<uint8_t> values;
  };
  const Case cases[] = {
      {"ff 22 aa 00 01 02 03 04 05 06 07 00 00 00 00 00 00", 0, 0, 0, {1, 2, 3, 4, 5, 6, 7}},
      {"ff 22 ad 00 08 09 0a 0b 0c 0d 07 00 00 00 00 00 00", 0, 0, 7, {8, 9, 10, 11, 12, 13}},
      {"ff 44 ab 00 f7 f7 f7 f7 f7 f7 f7 00 00 00 00 00 00",
       1,
       1,
       0,
       {247, 247, 247, 247, 247, 247, 247}},
      {"ff 44 af 00 10 20 30 40 50 60 00 00 00 00 00 00 00", 1, 2, 7, {16, 32, 48, 64, 80, 96}},
  };
  // Byte 10 of a six-value report is left over from the report before it in the sender's buffer
  // (07 in the second case) and belongs to no LED.
  for (const Case& c : cases) {
    SCOPED_TRACE(c.report);
    HeadsetLighting lighting;
    ASSERT_TRUE(TakeHeadsetLightReport(lighting, Bytes(c.report)));
    const auto& plane = lighting.values[c.side][c.colour];
    for (size_t i = 0; i < HeadsetLighting::kLedCount; ++i) {
      const int k = static_cast<int>(i) - c.firstLed;
      const uint8_t expected =
          k >= 0 && k < static_cast<int>(c.values.size()) ? c.values[static_cast<size_t>(k)] : 0;
      EXPECT_EQ(plane[i], expected) << "LED " << i;
    }
    EXPECT_EQ(lighting.reports, 1u);
    EXPECT_EQ(lighting.lastReport[2], Bytes(c.report)[2]);
  }
}

TEST(HeadsetLightInput, RejectsMalformedReports) {
  const char* bad[] = {
      "ff 33 aa 00 01 02 03 04 05 06 07",  // unknown side
      "ff 22 a9 00 01 02 03 04 05 06 07",  // unknown plane
      "ff 22 aa 00 01 02 03",              // too short for its values
      "04 22 aa 00 01 02 03 04 05 06 07",  // not the lighting report
  };
  HeadsetLighting lighting;
  for (const char* r : bad) EXPECT_FALSE(TakeHeadsetLightReport(lighting, Bytes(r))) << r;
  EXPECT_EQ(lighting.rejectedReports, 4u);
  EXPECT_EQ(lighting.reports, 0u);
  for (const auto& side : lighting.values)
    for (const auto& plane : side)
      for (uint8_t v : plane) EXPECT_EQ(v, 0);
}

}  // namespace
}  // namespace vorlin
