// DPI codes and the values the page shows for them: reading the scale from the device
// information, the edit's text, the linear and two-slope mappings, and that a shown value read
// back from the slider or the edit never drifts.
#include "mouse_settings/dpi_codes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vorlin {
namespace {

DpiScale Linear(int step, int base) {
  return {step, base, 0x1234};
}
DpiScale TwoSlope(int step, int base) {
  return {step, base, kTwoSlopeSensor};
}

std::string Describe(const DpiScale& scale) {
  return "step " + std::to_string(scale.step) + " base " + std::to_string(scale.base) +
         (scale.TwoSlope() ? " two-slope" : " linear");
}

TEST(DpiScaleTest, ReadsStepBaseAndSensorFromTheDeviceInformation) {
  std::vector<uint8_t> info(34, 0);
  info[9] = 0x25;
  info[10] = 0x33;
  info[11] = 50;
  info[14] = 0x2C;  // 300, little-endian
  info[15] = 0x01;
  const DpiScale scale = DpiScaleFromDeviceInfo(info);
  EXPECT_EQ(scale, (DpiScale{50, 300, 0x3325}));
  EXPECT_TRUE(scale.TwoSlope());
  EXPECT_TRUE(scale.Known());

  // The identifier is little-endian: the bytes the other way round are another sensor.
  std::swap(info[9], info[10]);
  EXPECT_EQ(DpiScaleFromDeviceInfo(info).sensor, 0x2533);
  EXPECT_FALSE(DpiScaleFromDeviceInfo(info).TwoSlope());
}

TEST(DpiScaleTest, AShortOrEmptyRecordGivesAnUnknownScale) {
  const std::vector<uint8_t> twelve = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x25, 0x33, 50};
  EXPECT_EQ(DpiScaleFromDeviceInfo(twelve), (DpiScale{50, 0, 0x3325}));
  for (const std::vector<uint8_t>& info :
       {std::vector<uint8_t>{}, std::vector<uint8_t>(11, 7), std::vector<uint8_t>(34, 0)}) {
    EXPECT_FALSE(DpiScaleFromDeviceInfo(info).Known()) << info.size();
  }
}

TEST(DpiEditTextTest, TakesWholeNumbersInRangeRoundsOffGridOnesAndRefusesTheRest) {
  struct Case {
    const char* text;
    TypedVerdict verdict;
    int dpi;
  };
  const Case cases[] = {
      {"1600", TypedVerdict::kTaken, 1600},
      {" 800 ", TypedVerdict::kTaken, 800},
      {"+450", TypedVerdict::kTaken, 450},
      {"100", TypedVerdict::kTaken, 100},
      {"26000", TypedVerdict::kTaken, 26000},
      {"1620", TypedVerdict::kRounded, 1600},
      {"1625", TypedVerdict::kRounded, 1650},
      {"149", TypedVerdict::kRounded, 150},
      {"101", TypedVerdict::kRounded, 100},
      {"25999", TypedVerdict::kRounded, 26000},
      {"abc", TypedVerdict::kNotANumber, 0},
      {"", TypedVerdict::kNotANumber, 0},
      {"12a", TypedVerdict::kNotANumber, 0},
      {"1,600", TypedVerdict::kNotANumber, 0},
      {"-", TypedVerdict::kNotANumber, 0},
      {"26001", TypedVerdict::kOutOfRange, 0},
      {"99", TypedVerdict::kOutOfRange, 0},
      {"-800", TypedVerdict::kOutOfRange, 0},
      {"0", TypedVerdict::kOutOfRange, 0},
      {"99999999999999999999", TypedVerdict::kOutOfRange, 0},
  };
  for (const Case& c : cases) {
    const TypedNumber typed = CheckTypedDpi(c.text);
    EXPECT_EQ(typed.verdict, c.verdict) << '"' << c.text << '"';
    EXPECT_EQ(typed.value, c.dpi) << '"' << c.text << '"';
  }
}

TEST(DpiCodesTest, LinearScale) {
  struct Case {
    DpiScale scale;
    int code;
    int shown;
  };
  const Case cases[] = {
      {Linear(50, 50), 31, 1600},   {Linear(50, 50), 0, 50},  {Linear(50, 50), 1, 100},
      {Linear(100, 0), 260, 26000}, {Linear(33, 0), 1, 50},   {Linear(33, 0), 3, 100},
      {Linear(33, 0), 4, 150},      {Linear(50, 25), 2, 150}, {Linear(0, 120), 7, 150},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShownDpi(c.scale, c.code), c.shown) << Describe(c.scale) << " code " << c.code;
  }
  EXPECT_EQ(DpiCodeFromValue(Linear(50, 50), 1600), 31);
  EXPECT_EQ(DpiCodeFromValue(Linear(50, 50), 1649), 31);
  EXPECT_EQ(DpiCodeFromValue(Linear(50, 50), 1650), 32);
  EXPECT_EQ(DpiCodeFromEditText(Linear(50, 50), "1600"), 31);
  // Below the base there is no negative code.
  EXPECT_EQ(DpiCodeFromValue(Linear(50, 400), 100), 0);
  EXPECT_EQ(DpiCodeFromValue(Linear(50, 400), 449), 0);
}

TEST(DpiCodesTest, TwoSlopeScaleTurnsAtCode48) {
  // Step 100, base 100: code 48 is 4900 DPI, every further code adds 200.
  const DpiScale scale = TwoSlope(100, 100);
  struct Case {
    int code;
    int shown;
  };
  const Case cases[] = {{0, 100}, {47, 4800}, {48, 4900}, {49, 5100}, {50, 5300}, {153, 25900}};
  for (const Case& c : cases) EXPECT_EQ(ShownDpi(scale, c.code), c.shown) << c.code;
  struct Value {
    int dpi;
    int code;
  };
  const Value values[] = {{4899, 47}, {4900, 48}, {5000, 48},  {5099, 48},
                          {5100, 49}, {5300, 50}, {26000, 153}};
  for (const Value& v : values) EXPECT_EQ(DpiCodeFromValue(scale, v.dpi), v.code) << v.dpi;
  // The slider and the edit agree above the turn as below it.
  EXPECT_EQ(DpiCodeFromEditText(scale, "5100"), 49);
  EXPECT_EQ(DpiCodeFromEditText(scale, "5001"), 48);  // 5000 lies below code 49's 5100
  // The same numbers for another sensor stay linear.
  EXPECT_EQ(ShownDpi(Linear(100, 100), 49), 5000);
  EXPECT_EQ(DpiCodeFromValue(Linear(100, 100), 5100), 50);
}

TEST(DpiCodesTest, UnknownScaleNeverDividesByZero) {
  for (const DpiScale& scale : {Linear(0, 0), Linear(0, 50), TwoSlope(0, 0), TwoSlope(0, 300)}) {
    for (int dpi : {0, 100, 5000, 26000}) {
      EXPECT_EQ(DpiCodeFromValue(scale, dpi), 0) << Describe(scale) << ' ' << dpi;
      // 0 DPI is refused as typed text; the others give code 0 while the scale is unknown.
      const std::optional<int> typed = DpiCodeFromEditText(scale, std::to_string(dpi));
      EXPECT_EQ(typed, dpi < kDpiMin ? std::nullopt : std::optional<int>(0)) << Describe(scale);
    }
  }
}

const DpiScale kScales[] = {
    Linear(50, 50),   Linear(50, 0),    Linear(100, 100), Linear(64, 0),    Linear(255, 75),
    Linear(10, 100),  Linear(33, 0),    Linear(1, 0),     TwoSlope(50, 50), TwoSlope(100, 100),
    TwoSlope(104, 8), TwoSlope(64, 30), TwoSlope(20, 0),  TwoSlope(255, 0),
};

TEST(DpiCodesTest, ShownValuesRiseWithTheCode) {
  for (const DpiScale& scale : kScales) {
    for (int code = 1; code <= 2000; ++code) {
      ASSERT_GE(ShownDpi(scale, code), ShownDpi(scale, code - 1))
          << Describe(scale) << " code " << code;
    }
  }
}

// Every code the controls can show (100 to 26000) survives shown -> slider -> shown and
// shown -> edit -> shown; with a step of 50 or more the code itself comes back.
TEST(DpiCodesTest, ShownValuesRoundTripThroughSliderAndEdit) {
  for (const DpiScale& scale : kScales) {
    int checked = 0;
    for (int code = 0; code <= kDpiCodeMax; ++code) {
      const int shown = ShownDpi(scale, code);
      if (shown > kDpiMax) break;
      if (shown < kDpiMin) continue;
      ++checked;
      const int from_slider = DpiCodeFromValue(scale, shown);
      const std::optional<int> typed = DpiCodeFromEditText(scale, std::to_string(shown));
      ASSERT_TRUE(typed) << shown << " is refused";
      const int from_edit = *typed;
      ASSERT_EQ(ShownDpi(scale, from_slider), shown) << Describe(scale) << " code " << code;
      ASSERT_EQ(ShownDpi(scale, from_edit), shown) << Describe(scale) << " code " << code;
      if (scale.step >= kDpiGrain) {
        ASSERT_EQ(from_slider, code) << Describe(scale);
        ASSERT_EQ(from_edit, code) << Describe(scale);
      }
    }
    EXPECT_GT(checked, 40) << Describe(scale);
  }
}

}  // namespace
}  // namespace vorlin
