#include "profiles/light_records.h"

namespace vorlin {
namespace {

uint8_t ByteOf(uint32_t word, int n) {
  return static_cast<uint8_t>(word >> (8 * n));
}

uint32_t Word(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) {
  return static_cast<uint32_t>(b0) | static_cast<uint32_t>(b1) << 8 |
         static_cast<uint32_t>(b2) << 16 | static_cast<uint32_t>(b3) << 24;
}

}  // namespace

LightSettings LightSettingsFromWords(const LightWords& words) {
  LightSettings s;
  s.mode = ByteOf(words.word0, 0);
  s.brightness = ByteOf(words.word0, 1);
  s.speed = ByteOf(words.word0, 2);
  s.direction = ByteOf(words.word0, 3);
  s.multi_color = ByteOf(words.word1, 0);
  s.red = ByteOf(words.word1, 1);
  s.green = ByteOf(words.word1, 2);
  s.blue = ByteOf(words.word1, 3);
  s.unused = {ByteOf(words.word2, 0), ByteOf(words.word2, 1), ByteOf(words.word2, 2)};
  s.sync_mode = ByteOf(words.word2, 3);
  s.custom_group = ByteOf(words.word3, 0);
  s.old_mode = ByteOf(words.word3, 1);
  return s;
}

LightWords LightSettingsToWords(const LightSettings& s) {
  LightWords w;
  w.word0 = Word(s.mode, s.brightness, s.speed, s.direction);
  w.word1 = Word(s.multi_color, s.red, s.green, s.blue);
  w.word2 = Word(s.unused[0], s.unused[1], s.unused[2], s.sync_mode);
  w.word3 = static_cast<uint16_t>(s.custom_group | s.old_mode << 8);
  return w;
}

AudioLightSettings AudioLightSettingsFromWords(uint32_t word0, uint32_t word1, uint32_t word2) {
  AudioLightSettings s;
  s.audio_mode = ByteOf(word0, 0);
  s.bk_red = ByteOf(word0, 1);
  s.bk_green = ByteOf(word0, 2);
  s.bk_blue = ByteOf(word0, 3);
  s.fg_red = ByteOf(word1, 0);
  s.fg_green = ByteOf(word1, 1);
  s.fg_blue = ByteOf(word1, 2);
  s.multi_color = ByteOf(word1, 3);
  s.color_side = ByteOf(word2, 0);
  return s;
}

std::array<uint32_t, 3> AudioLightSettingsToWords(const AudioLightSettings& s) {
  return {Word(s.audio_mode, s.bk_red, s.bk_green, s.bk_blue),
          Word(s.fg_red, s.fg_green, s.fg_blue, s.multi_color), s.color_side};
}

}  // namespace vorlin
