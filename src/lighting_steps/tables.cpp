#include "lighting_steps/tables.h"

#include <algorithm>

namespace vorlin {
namespace {

constexpr std::array<uint8_t, 32> kRising{1,   3,   5,   7,   10,  14,  18,  22,  26,  32,  38,
                                          44,  50,  57,  65,  73,  81,  89,  99,  109, 119, 129,
                                          140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
constexpr std::array<uint8_t, 32> kFalling{248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124,
                                           114, 104, 94,  85,  77,  69,  61,  53,  47,  41,  35,
                                           29,  24,  20,  16,  12,  8,   6,   4,   2,   0};

constexpr std::array<Rgb, kWheelSize> MakeWheel() {
  std::array<Rgb, kWheelSize> wheel{};
  for (size_t t = 0; t < kWheelSize; ++t) {
    const uint8_t r = kRising[t % 32];
    const uint8_t f = kFalling[t % 32];
    switch ((t / 32) % 6) {
      case 0:
        wheel[t] = {255, r, 0};
        break;
      case 1:
        wheel[t] = {f, 255, 0};
        break;
      case 2:
        wheel[t] = {0, 255, r};
        break;
      case 3:
        wheel[t] = {0, f, 255};
        break;
      case 4:
        wheel[t] = {r, 0, 255};
        break;
      default:
        wheel[t] = {255, 0, f};
        break;
    }
  }
  return wheel;
}

constexpr std::array<uint8_t, 64> kBreathRise{
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  12,  14,  16,  18,  20,
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};

constexpr std::array<uint8_t, kBreathLength> MakeBreath() {
  std::array<uint8_t, kBreathLength> curve{};
  for (size_t i = 0; i < kBreathRise.size(); ++i) {
    curve[i] = kBreathRise[i];
    curve[kBreathLength - 1 - i] = kBreathRise[i];
  }
  return curve;
}

constexpr std::array<uint8_t, kWaveLength> MakeWave() {
  constexpr std::array<uint8_t, kBreathLength> breath = MakeBreath();
  std::array<uint8_t, kWaveLength> curve{};
  for (size_t i = 0; i < kWaveLength; ++i) curve[i] = breath[16 + i];
  return curve;
}

constexpr std::array<uint8_t, 5> kStandardThresholds{8, 6, 4, 2, 1};
constexpr std::array<uint8_t, 5> kMouseRippleThresholds{16, 12, 8, 4, 2};
constexpr std::array<uint8_t, 5> kSequenceSpectrumThresholds{8, 5, 3, 1, 0};

uint8_t LookUp(const std::array<uint8_t, 5>& table, uint8_t speed_index) {
  return speed_index < table.size() ? table[speed_index] : 0;
}

}  // namespace

constinit const std::array<Rgb, kWheelSize> kColorWheel = MakeWheel();
constinit const std::array<uint8_t, kBreathLength> kBreathCurve = MakeBreath();
constinit const std::array<uint8_t, kWaveLength> kWaveCurve = MakeWave();

uint8_t SpeedThreshold(ThresholdTable table, uint8_t speed_index) {
  switch (table) {
    case ThresholdTable::kStandard:
      return LookUp(kStandardThresholds, speed_index);
    case ThresholdTable::kMouseRipple:
      return LookUp(kMouseRippleThresholds, speed_index);
    case ThresholdTable::kSequenceSpectrum:
      return LookUp(kSequenceSpectrumThresholds, speed_index);
    case ThresholdTable::kEveryTick:
      return 0;
  }
  return 0;
}

uint32_t BlinkPeriodMs(uint8_t speed_index) {
  return std::max<uint32_t>(SpeedThreshold(speed_index), 1) * kBlinkUnitMs;
}

}  // namespace vorlin
