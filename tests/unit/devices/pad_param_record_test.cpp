// The mouse pad's kept lighting record: what a read from the pad keeps, what a write sends, and
// what the profile's light settings change in it.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <vector>

#include "devices/pad_param_record.h"

namespace vorlin {
namespace {

using Bytes = PadParamRecord::Bytes;
const std::vector<int> kIdentity = {0, 1, 2, 3, 4, 5, 6, 7, 8};

// A record as the pad answers it: every byte distinct, with the given effect code and speed byte.
std::array<uint8_t, PadParamRecord::kReadSize> DeviceRecord(uint8_t code, uint8_t speed_byte) {
  std::array<uint8_t, PadParamRecord::kReadSize> r{};
  for (size_t i = 0; i < r.size(); ++i) r[i] = static_cast<uint8_t>(0x40 + i);
  r[1] = code;
  r[3] = speed_byte;
  return r;
}

PadParamRecord WithCodes(std::vector<int> codes) {
  PadParamRecord record;
  record.SetEffectCodes(std::move(codes));
  return record;
}

TEST(PadParamRecordTest, ARecordReadFromThePadIsKeptWithItsEffectNumberAndSpeed) {
  struct Case {
    const char* what;
    std::vector<int> codes;
    uint8_t code;
    uint8_t speed_byte;
    uint8_t effect;
    bool raw;
    uint8_t speed;
  };
  const Case cases[] = {
      {"listed code", kIdentity, 1, 2, 1, false, 2},
      {"first equal entry", {10, 11, 12, 11}, 11, 0, 1, false, 4},
      {"later entry", {10, 11, 12}, 12, 4, 2, false, 0},
      {"unlisted code stays raw", {10, 11, 12}, 1, 1, 1, true, 3},
      {"no list", {}, 3, 3, 3, true, 1},
      {"entries outside a byte never match", {300, -1, 44 + 256}, 44, 2, 44, true, 2},
      {"speed byte above 4 wraps", kIdentity, 8, 5, 8, false, 255},
      {"speed byte 255", kIdentity, 0, 255, 0, false, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PadParamRecord record = WithCodes(c.codes);
    const auto read = DeviceRecord(c.code, c.speed_byte);
    EXPECT_TRUE(record.TakeRead(read, 3));
    EXPECT_EQ(record.Profile(), 3);  // the number read from offset 0, not the record's byte 0
    EXPECT_EQ(record.Effect(), c.effect);
    EXPECT_EQ(record.EffectIsRaw(), c.raw);
    EXPECT_EQ(record.Speed(), c.speed);
    EXPECT_EQ(record.PadCode(), c.code);
    // Everything else as read; bytes 21 to 33 are not kept.
    for (size_t i : {2u, 4u, 5u, 6u, 7u, 8u, 9u, 15u, 20u}) EXPECT_EQ(record.Kept()[i], read[i]) << i;
  }
}

TEST(PadParamRecordTest, ARecordReadAndWrittenBackIsWhatThePadHad) {
  struct Case {
    const char* what;
    std::vector<int> codes;
    uint8_t code;
    uint8_t speed_byte;
  };
  const Case cases[] = {
      {"speed byte 1 (kept as speed 3)", kIdentity, 2, 1},
      {"speed byte 0", kIdentity, 0, 0},
      {"speed byte 4", kIdentity, 8, 4},
      {"speed byte outside 0-4", kIdentity, 3, 200},
      {"non-identity list", {10, 11, 12}, 12, 2},
      {"unknown code beyond the list", kIdentity, 0x30, 2},
      // The raw code 1 is also a position in the list (whose entry is 11): it must go back as 1.
      {"unknown code inside the list's range", {10, 11, 12}, 1, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PadParamRecord record = WithCodes(c.codes);
    auto read = DeviceRecord(c.code, c.speed_byte);
    read[0] = 0;  // profile 0, as the pad's byte 0 reads
    record.TakeRead(read, 0);
    const Bytes written = record.ForWrite();
    EXPECT_TRUE(std::equal(written.begin(), written.end(), read.begin()));
  }
}

TEST(PadParamRecordTest, TheSpeedIsSentAsFourMinusTheKeptSpeed) {
  PadParamRecord record = WithCodes(kIdentity);
  record.TakeRead(DeviceRecord(2, 1), 0);
  EXPECT_EQ(record.Speed(), 3);
  EXPECT_EQ(record.ForWrite()[3], 1);
  LightSettings settings;
  for (uint8_t speed : {0, 1, 2, 3, 4}) {
    settings.speed = speed;
    record.ApplyLightSettings(settings);
    EXPECT_EQ(record.ForWrite()[3], 4 - speed);
    EXPECT_EQ(record.Speed(), speed);  // the kept copy keeps the speed itself
  }
}

TEST(PadParamRecordTest, TheWrittenEffectCodeFollowsTheListAndOtherwiseWhatThePadHolds) {
  struct Case {
    const char* what;
    std::vector<int> codes;
    std::optional<uint8_t> read_code;     // a record with this code was read first
    std::optional<uint8_t> written_code;  // then a write with this code succeeded
    uint8_t effect;                       // the profile's effect number applied last
    uint8_t sent;
  };
  const Case cases[] = {
      {"number in the list", {10, 11, 12}, 12, std::nullopt, 1, 11},
      {"identity list", kIdentity, 1, std::nullopt, 6, 6},
      {"beyond the list: the code read", {10, 11, 12}, 12, std::nullopt, 7, 12},
      {"beyond the list: the code last written", {10, 11, 12}, 12, 10, 13, 10},
      {"beyond the list, pad never read", {10, 11, 12}, std::nullopt, std::nullopt, 7, 7},
      {"entry not a byte: the code read", {10, 300, 12}, 12, std::nullopt, 1, 12},
      {"entry not a byte, pad never read", {10, -5, 12}, std::nullopt, std::nullopt, 1, 1},
      {"no list: the code read", {}, 4, std::nullopt, 0, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PadParamRecord record = WithCodes(c.codes);
    if (c.read_code) record.TakeRead(DeviceRecord(*c.read_code, 2), 0);
    if (c.written_code) {
      Bytes sent{};
      sent[1] = *c.written_code;
      record.NoteWritten(sent);
    }
    LightSettings settings;
    settings.mode = c.effect;
    record.ApplyLightSettings(settings);
    EXPECT_FALSE(record.EffectIsRaw());
    EXPECT_EQ(record.ForWrite()[1], c.sent);
    EXPECT_EQ(record.Effect(), c.effect);
  }
}

TEST(PadParamRecordTest, WritesWithoutAChangeAreIdenticalAndLeaveTheKeptCopy) {
  PadParamRecord record = WithCodes({10, 11, 12});
  record.TakeRead(DeviceRecord(11, 1), 0);
  const Bytes kept = record.Kept();
  const Bytes first = record.ForWrite();
  record.NoteWritten(first);
  const Bytes second = record.ForWrite();
  EXPECT_EQ(first, second);
  EXPECT_EQ(record.Kept(), kept);
  EXPECT_EQ(kept[1], 1);
  EXPECT_EQ(kept[3], 3);
  EXPECT_EQ(first[1], 11);
  EXPECT_EQ(first[3], 1);
}

TEST(PadParamRecordTest, TheSameRecordReadTwiceIsNoChange) {
  PadParamRecord record = WithCodes(kIdentity);
  EXPECT_TRUE(record.TakeRead(DeviceRecord(1, 2), 0));
  EXPECT_FALSE(record.TakeRead(DeviceRecord(1, 2), 0));
  EXPECT_TRUE(record.TakeRead(DeviceRecord(1, 2), 1));  // another profile number
  EXPECT_TRUE(record.TakeRead(DeviceRecord(1, 3), 1));
}

TEST(PadParamRecordTest, AShortReadChangesNothing) {
  PadParamRecord record = WithCodes(kIdentity);
  record.TakeRead(DeviceRecord(4, 2), 0);
  const Bytes kept = record.Kept();
  const auto read = DeviceRecord(1, 0);
  EXPECT_FALSE(record.TakeRead(std::span(read).first(PadParamRecord::kSize - 1), 0));
  EXPECT_EQ(record.Kept(), kept);
  EXPECT_EQ(record.PadCode(), 4);
}

TEST(PadParamRecordTest, TheProfileFillsOnlyTheLightingBytes) {
  PadParamRecord record = WithCodes(kIdentity);
  record.TakeRead(DeviceRecord(0x30, 2), 2);  // an unknown effect, kept raw
  ASSERT_TRUE(record.EffectIsRaw());
  const Bytes before = record.Kept();
  LightSettings s;
  s.mode = 3;
  s.brightness = 1;
  s.speed = 4;
  s.direction = 1;
  s.multi_color = 1;
  s.red = 0x11;
  s.green = 0x22;
  s.blue = 0x33;
  s.sync_mode = 9;
  s.custom_group = 8;
  s.old_mode = 7;
  record.ApplyLightSettings(s);
  const Bytes& kept = record.Kept();
  EXPECT_FALSE(record.EffectIsRaw());
  const Bytes expected_lighting = [&] {
    Bytes b = before;
    b[1] = 3;
    b[2] = 1;
    b[3] = 4;
    b[5] = 1;
    b[6] = 0x11;
    b[7] = 0x22;
    b[8] = 0x33;
    return b;
  }();
  EXPECT_EQ(kept, expected_lighting);  // bytes 0, 4 and 9-20 as read
}

TEST(PadParamRecordTest, TheLightWordsTakeTheLightingAndKeepTheRest) {
  PadParamRecord record = WithCodes({10, 11, 12});
  auto read = DeviceRecord(12, 1);
  read[5] = 1;
  read[6] = 0xA1;
  read[7] = 0xA2;
  read[8] = 0xA3;
  record.TakeRead(read, 0);
  LightSettings old;
  old.mode = 7;
  old.brightness = 7;
  old.speed = 7;
  old.direction = 5;
  old.unused = {1, 2, 3};
  old.sync_mode = 4;
  old.custom_group = 6;
  old.old_mode = 9;
  const LightSettings got = LightSettingsFromWords(record.WithLighting(LightSettingsToWords(old)));
  LightSettings expected = old;
  expected.mode = 2;
  expected.brightness = read[2];
  expected.speed = 3;
  expected.multi_color = 1;
  expected.red = 0xA1;
  expected.green = 0xA2;
  expected.blue = 0xA3;
  EXPECT_EQ(got, expected);
}

TEST(PadParamRecordTest, RecordOffsetsStayInsideTheAddressSpace) {
  struct Case {
    int profile;
    std::optional<uint16_t> read;
    std::optional<uint16_t> write;
  };
  const Case cases[] = {
      {0, 0, 0},
      {1, 33, 64},
      {255, 8415, 16320},
      {1023, 33759, 65472},
      {1024, 33792, std::nullopt},
      {1984, 65472, std::nullopt},
      {1985, std::nullopt, std::nullopt},
      {-1, std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PadParamRecord::ReadOffset(c.profile), c.read) << c.profile;
    EXPECT_EQ(PadParamRecord::WriteOffset(c.profile), c.write) << c.profile;
  }
}

}  // namespace
}  // namespace vorlin
