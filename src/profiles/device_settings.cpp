#include "profiles/device_settings.h"

namespace vorlin {

std::array<uint8_t, kDpiStageBytes> EncodeDpiStage(const DpiStage& s) {
  return {s.active,
          s.xy,
          static_cast<uint8_t>(s.dpi_x),
          static_cast<uint8_t>(s.dpi_x >> 8),
          static_cast<uint8_t>(s.dpi_y),
          static_cast<uint8_t>(s.dpi_y >> 8),
          s.red,
          s.green,
          s.blue};
}

DpiStage DecodeDpiStage(const std::array<uint8_t, kDpiStageBytes>& b) {
  DpiStage s;
  s.active = b[0];
  s.xy = b[1];
  s.dpi_x = static_cast<uint16_t>(b[2] | b[3] << 8);
  s.dpi_y = static_cast<uint16_t>(b[4] | b[5] << 8);
  s.red = b[6];
  s.green = b[7];
  s.blue = b[8];
  return s;
}

KeyboardSystemSettings KeyboardSettingsFromWords(uint32_t word0, uint32_t word1, uint32_t word2) {
  KeyboardSystemSettings s;
  s.repeat = static_cast<uint16_t>(word0);
  s.repeat_delay = static_cast<uint16_t>(word0 >> 16);
  s.key6_flag = static_cast<uint16_t>(word1);
  s.polling_rate = static_cast<uint16_t>(word1 >> 16);
  s.w_flag = static_cast<uint16_t>(word2);
  s.win_flag = static_cast<uint16_t>(word2 >> 16);
  return s;
}

std::array<uint32_t, 3> KeyboardSettingsToWords(const KeyboardSystemSettings& s) {
  return {s.repeat | static_cast<uint32_t>(s.repeat_delay) << 16,
          s.key6_flag | static_cast<uint32_t>(s.polling_rate) << 16,
          s.w_flag | static_cast<uint32_t>(s.win_flag) << 16};
}

}  // namespace vorlin
