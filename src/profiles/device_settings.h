#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace vorlin {

// One DPI stage of the mouse ("DPIStages"/"StageDPIs"[i]); on the device a 9-byte record.
struct DpiStage {
  uint8_t active = 0;  // "StageActive": the stage's enabled flag
  uint8_t xy = 0;      // "StageXY": separate X and Y codes
  uint16_t dpi_x = 0;  // "StageDPIX": X DPI code
  uint16_t dpi_y = 0;  // "StageDPIY": Y DPI code
  uint8_t red = 0;     // "StageColorR"
  uint8_t green = 0;   // "StageColorG"
  uint8_t blue = 0;    // "StageColorB"
  bool operator==(const DpiStage&) const = default;
};

inline constexpr std::size_t kDpiStageBytes = 9;
// The device form: flag, X/Y flag, X code and Y code little-endian, red, green, blue.
std::array<uint8_t, kDpiStageBytes> EncodeDpiStage(const DpiStage& stage);
DpiStage DecodeDpiStage(const std::array<uint8_t, kDpiStageBytes>& bytes);

// The mouse's "SystemStages" and "ReportStages", sixteen 16-bit fields in this order.
struct MouseSystemSettings {
  uint16_t double_click_time = 0;   // "DoubleClickTime"
  uint16_t pointer_speed = 0;       // "MouseSpeed"
  uint16_t pointer_precision = 0;   // "PointerPrecision"
  uint16_t scroll_page = 0;         // "ScorllPage"
  uint16_t wheel_lines = 0;         // "WheelScorlllinse"
  uint16_t report_stage = 0;        // "ReportStages"/"StageActive"
  uint16_t dormancy_time = 0;       // "DormancyTime"
  uint16_t anti_shake = 0;          // "AntiShake"
  uint16_t silent_altitude = 0;     // "SilentAltitudeItem"
  uint16_t sensor_lift = 0;         // "SensorLif" (a flag)
  uint16_t motion_sync = 0;         // "MotionSync" (a flag)
  uint16_t linear_calibration = 0;  // "LinearCalibration" (a flag)
  uint16_t key_delay = 0;           // "KeyDelay"
  uint16_t sleep_time = 0;          // "sleeptime"
  uint16_t sleep_time_high = 0;     // "sleeptimeH"
  uint16_t ripple_control = 0;      // "RippleControl" (a flag)
  bool operator==(const MouseSystemSettings&) const = default;
};
static_assert(sizeof(MouseSystemSettings) == 32);

// The keyboard's "SystemStages", six 16-bit fields in this order.
struct KeyboardSystemSettings {
  uint16_t repeat = 0;        // "Repeat"
  uint16_t repeat_delay = 0;  // "RepeatDelay"
  uint16_t key6_flag = 0;     // "Key6Flag"
  uint16_t polling_rate = 0;  // "PollingRate"
  uint16_t w_flag = 0;        // "WFlag"
  uint16_t win_flag = 0;      // "WinFlag"
  bool operator==(const KeyboardSystemSettings&) const = default;
};
static_assert(sizeof(KeyboardSystemSettings) == 12);

// The three words the keyboard page hands over: Repeat | RepeatDelay << 16,
// Key6Flag | PollingRate << 16, WFlag | WinFlag << 16.
KeyboardSystemSettings KeyboardSettingsFromWords(uint32_t word0, uint32_t word1, uint32_t word2);
std::array<uint32_t, 3> KeyboardSettingsToWords(const KeyboardSystemSettings& settings);

// The headset's "SystemSetStages", eight 32-bit ints in this order.
struct HeadsetSystemSettings {
  int32_t magic_enable = 0;        // "MagicEnable"
  int32_t magic_type = 0;          // "MagicType"
  int32_t eq_type = 0;             // "EqType"
  int32_t custom_eq_index = 0;     // "CustomEqSeletIndex"
  int32_t mic_in_select = 0;       // "MicInSelect"
  int32_t mic_in_value = 0;        // "MicInValue"
  int32_t mic_monitor_select = 0;  // "MicMoniterSelect"
  int32_t mic_monitor_value = 0;   // "MicMoniterValue"
  bool operator==(const HeadsetSystemSettings&) const = default;
};
static_assert(sizeof(HeadsetSystemSettings) == 32);

// Ten equaliser band gains of one preset.
inline constexpr int kEqBandCount = 10;
using EqBands = std::array<int, kEqBandCount>;

}  // namespace vorlin
