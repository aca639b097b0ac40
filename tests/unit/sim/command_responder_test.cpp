#include "sim/command_responder.h"

#include <gtest/gtest.h>

#include <numeric>

#include "sim/factory_contents.h"
#include "sim_test_util.h"

namespace vorlin {
namespace {

using testing::Hex;
using testing::Report;

struct ExactCase {
  const char* name;
  const char* request;
  const char* reply;
};

// Requests with their checksums worked out by hand, and the mouse's answers byte for byte. The
// factory mouse's information record starts 02 08 01 05 0b 0f 10 00 00 25 33 32 00 00 32 00.
const ExactCase kMouseExact[] = {
    {"begin config", "04 01 00 01", "04 01 00 01 00 00 00 00"},
    {"end config", "04 02 00 02", "04 02 00 02 00 00 00 00"},
    {"device info, first wireless chunk", "04 1b 00 03 18 00 00",
     "04 11 01 03 18 00 00 00 02 08 01 05 0b 0f 10 00 00 25 33 32 00 00 32 00"},
    {"device info, second wireless chunk", "04 25 00 03 0a 18 00", "04 25 00 03 0a 18 00 00"},
    {"device info, one wired chunk", "04 25 00 03 22 00 00",
     "04 1b 01 03 22 00 00 00 02 08 01 05 0b 0f 10 00 00 25 33 32 00 00 32 00"},
    {"status record", "04 20 00 1a 06 00 00", "04 77 00 1a 06 00 00 00 55 02"},
    {"wireless probe", "04 aa 00 aa", "04 a9 01 aa 00 00 00 00 ff"},
    {"profile number", "04 06 00 05 01 00 00", "04 06 00 05 01 00 00 00 00"},
    {"read beyond the parameter area", "04 8f 00 05 18 70 02", "04 8e 01 05 18 70 02 ff"},
    {"length above 56", "04 3e 00 05 39 00 00", "04 3d 01 05 39 00 00 ff"},
    {"offset near 0xffff", "04 04 02 05 01 ff ff", "04 03 03 05 01 ff ff ff"},
    {"bad checksum", "04 00 00 01", "04 ff 00 01 00 00 00 fe"},
    {"wrong report id", "05 01 00 01", "04 ff 00 01 00 00 00 fe"},
    {"unknown command", "04 04 00 04", "04 02 01 04 00 00 00 fe"},
};

TEST(CommandResponder, AnswersMouseRequestsByteForByte) {
  for (const ExactCase& c : kMouseExact) {
    SCOPED_TRACE(c.name);
    FirmwareMemory memory = MakeFactoryMemory(FirmwareKind::Mouse);
    const CommandReport request = Report(c.request);
    EXPECT_EQ(Hex(RespondToCommand(memory, request)), Hex(Report(c.reply)));
  }
}

// Reads `total` bytes of an area in chunks the way the program's link splits them.
std::vector<uint8_t> ChunkedRead(FirmwareMemory& memory, uint8_t code, uint16_t start, size_t total,
                                 size_t chunk) {
  std::vector<uint8_t> out;
  for (size_t pos = 0; pos < total; pos += chunk) {
    const size_t n = std::min(chunk, total - pos);
    const CommandReport reply = RespondToCommand(
        memory,
        MakeCommandReport(code, static_cast<uint8_t>(n), static_cast<uint16_t>(start + pos)));
    EXPECT_EQ(StatusOf(reply), 0) << "chunk at " << pos;
    out.insert(out.end(), reply.begin() + 8, reply.begin() + 8 + static_cast<std::ptrdiff_t>(n));
  }
  return out;
}

void ChunkedWrite(FirmwareMemory& memory, uint8_t code, uint16_t start,
                  const std::vector<uint8_t>& data, size_t chunk) {
  for (size_t pos = 0; pos < data.size(); pos += chunk) {
    const size_t n = std::min(chunk, data.size() - pos);
    const CommandReport reply = RespondToCommand(
        memory, MakeCommandReport(code, static_cast<uint8_t>(n), static_cast<uint16_t>(start + pos),
                                  std::span(data).subspan(pos, n)));
    EXPECT_EQ(StatusOf(reply), 0) << "chunk at " << pos;
    // A write's reply carries no data.
    EXPECT_TRUE(std::all_of(reply.begin() + 8, reply.end(), [](uint8_t b) { return b == 0; }));
  }
}

TEST(CommandResponder, DeviceInfoReadsTheSameInWiredAndWirelessChunks) {
  FirmwareMemory memory = MakeFactoryMemory(FirmwareKind::Mouse);
  const std::vector<uint8_t> wired = ChunkedRead(memory, kCmdReadDeviceInfo, 0, 34, 56);
  const std::vector<uint8_t> wireless = ChunkedRead(memory, kCmdReadDeviceInfo, 0, 34, 24);
  EXPECT_EQ(wired, memory.deviceInfo);
  EXPECT_EQ(wireless, memory.deviceInfo);
}

TEST(CommandResponder, ParamRecordWrittenInChunksReadsBack) {
  struct Case {
    FirmwareKind kind;
    uint16_t offset;
    size_t size;
    size_t writeChunk;
    size_t readChunk;
  };
  const Case cases[] = {
      {FirmwareKind::Mouse, 0x80, 95, 56, 24},  // the second profile's record, two wired chunks
      {FirmwareKind::Mouse, 0x80, 95, 24, 56},
      {FirmwareKind::Keyboard, 66, 34, 56, 24},
      {FirmwareKind::MousePad, 0, 21, 24, 56},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(FirmwareKindName(c.kind)) + " at " + std::to_string(c.offset));
    FirmwareMemory memory = MakeFactoryMemory(c.kind);
    std::vector<uint8_t> record(c.size);
    std::iota(record.begin(), record.end(), uint8_t{0x40});
    const std::vector<uint8_t> before = memory.params;
    ChunkedWrite(memory, kCmdWriteParams, c.offset, record, c.writeChunk);
    EXPECT_EQ(ChunkedRead(memory, kCmdReadParams, c.offset, c.size, c.readChunk), record);
    // Nothing outside the record changed.
    for (size_t i = 0; i < memory.params.size(); ++i) {
      if (i < c.offset || i >= c.offset + c.size) {
        ASSERT_EQ(memory.params[i], before[i]) << i;
      }
    }
  }
}

TEST(CommandResponder, AccessBeyondAnAreaFailsWithoutTouchingIt) {
  struct Case {
    const char* name;
    FirmwareKind kind;
    uint8_t code;
    uint8_t length;
    uint16_t offset;
  };
  const Case cases[] = {
      {"param write straddling the end", FirmwareKind::Mouse, kCmdWriteParams, 24, 640 - 10},
      {"param write just past the end", FirmwareKind::Mouse, kCmdWriteParams, 1, 640},
      {"macro write past the capacity", FirmwareKind::Mouse, kCmdWriteMacroData, 56, 2048 - 55},
      {"key table on a pad", FirmwareKind::MousePad, kCmdWriteKeyTable, 3, 0},
      {"macro on a pad", FirmwareKind::MousePad, kCmdWriteMacroData, 1, 0},
      {"shoot data on a keyboard", FirmwareKind::Keyboard, kCmdWriteShootData, 8, 0},
      {"colour group 8 of 8", FirmwareKind::Keyboard, kCmdWriteColorTable, 3, 8 * 512},
      {"status beyond its 6 bytes", FirmwareKind::Keyboard, kCmdReadStatus, 7, 0},
      {"LED table beyond 170", FirmwareKind::Keyboard, kCmdReadKeyLedTable, 1, 170},
      {"key table page 5 of 5", FirmwareKind::Keyboard, kCmdReadKeyTable, 3, 5 * 512},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FirmwareMemory memory = MakeFactoryMemory(c.kind);
    const FirmwareMemory before = memory;
    const std::vector<uint8_t> payload(c.length, 0xEE);
    const CommandReport reply =
        RespondToCommand(memory, MakeCommandReport(c.code, c.length, c.offset, payload));
    EXPECT_EQ(StatusOf(reply), kStatusFailed);
    EXPECT_EQ(CommandCodeOf(reply), c.code);
    EXPECT_TRUE(std::all_of(reply.begin() + 8, reply.end(), [](uint8_t b) { return b == 0; }));
    for (size_t a = 0; a < kMemoryAreaCount; ++a) {
      const auto area = static_cast<MemoryArea>(a);
      EXPECT_EQ(memory.Area(area), before.Area(area)) << MemoryAreaName(area);
    }
  }
}

TEST(CommandResponder, RefusedRequestsChangeNothing) {
  FirmwareMemory memory = MakeFactoryMemory(FirmwareKind::Mouse);
  CommandReport request = MakeCommandReport(kCmdWriteParams, 1, 0, std::vector<uint8_t>{3});
  request[1] ^= 1;  // checksum off by one
  EXPECT_EQ(StatusOf(RespondToCommand(memory, request)), kStatusRefused);
  EXPECT_EQ(memory.CurrentProfile(), 0);

  request = MakeCommandReport(kCmdBeginConfig, 0, 0);
  request[0] = 0x03;
  EXPECT_EQ(StatusOf(RespondToCommand(memory, request)), kStatusRefused);
  EXPECT_FALSE(memory.configuring);
  EXPECT_EQ(memory.commandsAnswered, 0u);
}

TEST(CommandResponder, EveryCommandOfTheTableIsAnswered) {
  const uint8_t codes[] = {kCmdBeginConfig,     kCmdEndConfig,       kCmdReadDeviceInfo,
                           kCmdReadParams,      kCmdWriteParams,     kCmdReadDefaultKeyTable,
                           kCmdReadKeyTable,    kCmdWriteKeyTable,   kCmdReadColorTable,
                           kCmdWriteColorTable, kCmdWriteLightFrame, kCmdWriteMacroData,
                           kCmdWriteShootData,  kCmdReadStatus,      kCmdReadKeyLedTable,
                           kCmdHostLightingOn,  kCmdWriteKeyTable2,  kCmdProbeWireless};
  for (uint8_t code : codes) {
    SCOPED_TRACE(static_cast<int>(code));
    FirmwareMemory memory = MakeFactoryMemory(FirmwareKind::Mouse);
    const CommandReport request = MakeCommandReport(code, 6, 0, std::vector<uint8_t>(6, 0x11));
    const CommandReport reply = RespondToCommand(memory, request);
    EXPECT_EQ(reply[0], kCommandReportId);
    EXPECT_EQ(CommandCodeOf(reply), code);
    EXPECT_EQ(StatusOf(reply), 0);
    EXPECT_EQ(CommandChecksum(reply), reply[1] | (reply[2] << 8));
    EXPECT_EQ(memory.commandsAnswered, 1u);
  }
}

TEST(CommandResponder, WritesLandInTheirOwnArea) {
  struct Case {
    uint8_t code;
    MemoryArea area;
    uint16_t offset;
  };
  const Case cases[] = {
      {kCmdWriteKeyTable, MemoryArea::KeyTable, 0},
      {kCmdWriteKeyTable2, MemoryArea::KeyTable2, 512},
      {kCmdWriteColorTable, MemoryArea::ColorTables, 3 * 512},
      {kCmdWriteLightFrame, MemoryArea::LightFrame, 24},
      {kCmdWriteMacroData, MemoryArea::Macro, 100},
      {kCmdWriteShootData, MemoryArea::Shoot, 112},
  };
  const std::vector<uint8_t> data = {0xA1, 0xB2, 0xC3};
  for (const Case& c : cases) {
    SCOPED_TRACE(MemoryAreaName(c.area));
    const FirmwareKind kind =
        c.area == MemoryArea::Shoot ? FirmwareKind::Mouse : FirmwareKind::Keyboard;
    FirmwareMemory memory = MakeFactoryMemory(kind);
    const FirmwareMemory before = memory;
    ASSERT_EQ(StatusOf(RespondToCommand(memory, MakeCommandReport(c.code, 3, c.offset, data))), 0);
    for (size_t a = 0; a < kMemoryAreaCount; ++a) {
      const auto area = static_cast<MemoryArea>(a);
      if (area != c.area) {
        EXPECT_EQ(memory.Area(area), before.Area(area)) << MemoryAreaName(area);
      }
    }
    const std::vector<uint8_t>& changed = memory.Area(c.area);
    EXPECT_EQ(std::vector<uint8_t>(changed.begin() + c.offset, changed.begin() + c.offset + 3),
              data);
  }
}

TEST(CommandResponder, KeepsSessionState) {
  FirmwareMemory memory = MakeFactoryMemory(FirmwareKind::Keyboard);
  RespondToCommand(memory, MakeCommandReport(kCmdBeginConfig, 0, 0));
  EXPECT_TRUE(memory.configuring);
  RespondToCommand(memory, MakeCommandReport(kCmdEndConfig, 0, 0));
  EXPECT_FALSE(memory.configuring);
  EXPECT_EQ(memory.beginConfigCount, 1u);
  EXPECT_EQ(memory.endConfigCount, 1u);

  EXPECT_FALSE(memory.hostLighting);
  RespondToCommand(memory, MakeCommandReport(kCmdHostLightingOn, 0, 0));
  EXPECT_TRUE(memory.hostLighting);

  // A frame of 132 LEDs in wired chunks: 396 bytes, 8 chunks, one frame.
  const std::vector<uint8_t> frame(132 * 3, 0x7F);
  for (int f = 0; f < 2; ++f) ChunkedWrite(memory, kCmdWriteLightFrame, 0, frame, 56);
  EXPECT_EQ(memory.lightFrames, 2u);
  EXPECT_EQ(memory.lightFrameChunks, 16u);
  EXPECT_EQ(std::vector<uint8_t>(memory.lightFrame.begin(), memory.lightFrame.begin() + 396),
            frame);
}

TEST(CommandResponder, ShortRequestCountsAsZeroFilled) {
  FirmwareMemory memory = MakeFactoryMemory(FirmwareKind::Mouse);
  const std::vector<uint8_t> shortBegin = {0x04, 0x01, 0x00, 0x01};
  const CommandReport reply = RespondToCommand(memory, shortBegin);
  EXPECT_EQ(Hex(reply), Hex(Report("04 01 00 01 00 00 00 00")));
  EXPECT_TRUE(memory.configuring);
  // An empty request is refused, not read past its end.
  EXPECT_EQ(StatusOf(RespondToCommand(memory, std::span<const uint8_t>())), kStatusRefused);
}

TEST(CommandResponder, ReceiverReplyWhenTheDeviceIsSilent) {
  const CommandReport probe = MakeCommandReport(kCmdProbeWireless, 0, 0);
  EXPECT_EQ(Hex(SilentDeviceReply(probe)), Hex(Report("04 aa 00 aa 00 00 00 00")));
  const CommandReport read = MakeCommandReport(kCmdReadParams, 24, 0x0098);
  EXPECT_EQ(Hex(SilentDeviceReply(read)), Hex(Report("04 5a 01 aa 18 98 00 00")));
}

}  // namespace
}  // namespace vorlin
