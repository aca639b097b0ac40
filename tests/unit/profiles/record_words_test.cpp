#include <gtest/gtest.h>

#include "profiles/device_settings.h"
#include "profiles/key_assignment.h"
#include "profiles/light_records.h"

namespace vorlin {
namespace {

TEST(RecordWordsTest, LightWordsMapByteForByte) {
  const LightWords words{0x04030201, 0x08070605, 0x0C0B0A09, 0x0E0D};
  const LightSettings s = LightSettingsFromWords(words);
  EXPECT_EQ(s.mode, 0x01);
  EXPECT_EQ(s.brightness, 0x02);
  EXPECT_EQ(s.speed, 0x03);
  EXPECT_EQ(s.direction, 0x04);
  EXPECT_EQ(s.multi_color, 0x05);
  EXPECT_EQ(s.red, 0x06);
  EXPECT_EQ(s.green, 0x07);
  EXPECT_EQ(s.blue, 0x08);
  EXPECT_EQ(s.unused, (std::array<uint8_t, 3>{0x09, 0x0A, 0x0B}));
  EXPECT_EQ(s.sync_mode, 0x0C);
  EXPECT_EQ(s.custom_group, 0x0D);
  EXPECT_EQ(s.old_mode, 0x0E);
  EXPECT_EQ(LightSettingsToWords(s), words);
}

TEST(RecordWordsTest, AudioWords) {
  const AudioLightSettings s = AudioLightSettingsFromWords(0x04030201, 0x08070605, 0xFFFFFF09);
  EXPECT_EQ(s.audio_mode, 1);
  EXPECT_EQ(s.bk_blue, 4);
  EXPECT_EQ(s.fg_red, 5);
  EXPECT_EQ(s.multi_color, 8);
  EXPECT_EQ(s.color_side, 9);  // only the low byte of the third word
  EXPECT_EQ(AudioLightSettingsToWords(s), (std::array<uint32_t, 3>{0x04030201, 0x08070605, 9}));
}

TEST(RecordWordsTest, KeyboardWordsHoldTwoFieldsEach) {
  const KeyboardSystemSettings s =
      KeyboardSettingsFromWords(20 | 3 << 16, 1 | 2 << 16, 0 | 1 << 16);
  EXPECT_EQ(s, (KeyboardSystemSettings{20, 3, 1, 2, 0, 1}));
  EXPECT_EQ(KeyboardSettingsToWords(s),
            (std::array<uint32_t, 3>{20 | 3 << 16, 1 | 2 << 16, 1 << 16}));
}

TEST(RecordWordsTest, DpiStageDeviceForm) {
  const DpiStage stage{1, 0, 0x1234, 0x00FF, 10, 20, 30};
  const auto bytes = EncodeDpiStage(stage);
  EXPECT_EQ(bytes, (std::array<uint8_t, 9>{1, 0, 0x34, 0x12, 0xFF, 0x00, 10, 20, 30}));
  EXPECT_EQ(DecodeDpiStage(bytes), stage);
}

TEST(RecordWordsTest, PackedKeyCode) {
  KeyAssignment a;
  a.SetPackedCode(7340547);  // 0x700203: a macro call of macro 2
  EXPECT_EQ(a.code, (std::array<uint8_t, 3>{0x70, 0x02, 0x03}));
  EXPECT_EQ(a.PackedCode(), 7340547u);
  a.SetPackedCode(0xFF123456);  // only 24 bits are used
  EXPECT_EQ(a.PackedCode(), 0x123456u);
}

}  // namespace
}  // namespace vorlin
