#pragma once

// The 64-byte vendor command report and its reply (report id 4), shared by DeviceLink and the
// device emulator.
//
//   byte 0     report id, 0x04
//   bytes 1-2  checksum, little-endian: sum of bytes 3..63 as unsigned bytes (ignored in replies)
//   byte 3     command code (echoed by the reply; 0xAA from a receiver whose device is silent)
//   byte 4     payload length in this report
//   bytes 5-6  offset, little-endian
//   byte 7     0 in a request; status in a reply (0xFF and 0xFE are errors)
//   bytes 8-63 payload (at most 56 bytes), zero after the payload length

#include <array>
#include <cstdint>
#include <span>

namespace vorlin {

inline constexpr size_t kCommandReportSize = 64;
inline constexpr uint8_t kCommandReportId = 0x04;
inline constexpr size_t kCommandPayloadOffset = 8;
inline constexpr size_t kMaxCommandPayload = kCommandReportSize - kCommandPayloadOffset;  // 56
inline constexpr uint8_t kReceiverNoAnswer = 0xAA;
inline constexpr uint8_t kStatusFailed = 0xFF;
inline constexpr uint8_t kStatusRefused = 0xFE;
// Length of the device information record (command 0x03).
inline constexpr size_t kDeviceInfoSize = 34;

enum CommandCode : uint8_t {
  kCmdBeginConfig = 0x01,
  kCmdEndConfig = 0x02,
  kCmdReadDeviceInfo = 0x03,
  kCmdReadParams = 0x05,
  kCmdWriteParams = 0x06,
  kCmdReadDefaultKeyTable = 0x07,
  kCmdReadKeyTable = 0x08,
  kCmdWriteKeyTable = 0x09,
  kCmdReadColorTable = 0x0A,
  kCmdWriteColorTable = 0x0B,
  kCmdWriteLightFrame = 0x12,
  kCmdWriteMacroData = 0x15,
  kCmdWriteShootData = 0x17,
  kCmdReadStatus = 0x1A,
  kCmdReadKeyLedTable = 0x1B,
  kCmdHostLightingOn = 0x1C,
  kCmdWriteKeyTable2 = 0x27,
  kCmdProbeWireless = 0xAA,
};

using CommandReport = std::array<uint8_t, kCommandReportSize>;

// Sum of bytes 3..63, as a 16-bit number.
uint16_t CommandChecksum(std::span<const uint8_t, kCommandReportSize> report);
// Stores the checksum in bytes 1 and 2; done last, after every other byte is in place.
void StoreCommandChecksum(CommandReport& report);

// A request with code, payload length, offset and payload filled in and its checksum stored.
// The payload is cut to 56 bytes.
CommandReport MakeCommandReport(uint8_t code, uint8_t length, uint16_t offset,
                                std::span<const uint8_t> payload = {});

inline uint8_t CommandCodeOf(const CommandReport& r) { return r[3]; }
inline uint8_t PayloadLengthOf(const CommandReport& r) { return r[4]; }
inline uint16_t OffsetOf(const CommandReport& r) { return uint16_t(r[5] | (r[6] << 8)); }
inline uint8_t StatusOf(const CommandReport& r) { return r[7]; }

}  // namespace vorlin
