#pragma once

// How a device's firmware answers one 64-byte command report (report id 4). Pure: it takes the
// firmware memory and the request and returns the reply, changing the memory as the command says.
//
// The reply echoes bytes 0 to 6 of the request (report id 4, command code, payload length,
// offset), carries the status in byte 7 and, for a read, the data in bytes 8 onwards; the bytes
// after the data are 0 and the checksum bytes 1 and 2 are recomputed over the reply.
//
// Status byte:
//   0x00  done
//   0xFF  kStatusFailed: the access does not fit: offset + length beyond the area, a payload
//         length above 56, or a data command on an area this device does not have. Nothing is
//         read or written, not even the part that would fit.
//   0xFE  kStatusRefused: the firmware did not take the request at all: a report id other than 4,
//         a checksum that does not match bytes 3 to 63, or a command code it does not know.
//         Nothing is changed.
// A request shorter than 64 bytes is taken as if zero-filled to 64; bytes beyond 64 are ignored.

#include <cstdint>
#include <span>

#include "hid/command_report.h"
#include "sim/firmware_memory.h"

namespace vorlin {

CommandReport RespondToCommand(FirmwareMemory& memory, std::span<const uint8_t> request);

// The reply a device gives without acting on the request: bytes 0 to 6 echoed (report id 4),
// status in byte 7, no data, checksum recomputed.
CommandReport StatusReply(std::span<const uint8_t> request, uint8_t status);

// A receiver's reply when the device behind it does not answer: the request's bytes with the
// command byte replaced by 0xAA, status 0 and no data (so byte 8, the wireless probe's answer, is
// 0).
CommandReport SilentDeviceReply(std::span<const uint8_t> request);

// The area a data command addresses and whether it reads it; false for the commands without data
// (0x01, 0x02, 0x1C, 0xAA) and unknown codes.
bool CommandArea(uint8_t code, MemoryArea& area, bool& isRead);

}  // namespace vorlin
