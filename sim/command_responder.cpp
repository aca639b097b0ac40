#include "sim/command_responder.h"

#include <algorithm>

namespace vorlin {

namespace {

// The request as the firmware sees it: exactly 64 bytes, zero-filled when shorter.
CommandReport Normalise(std::span<const uint8_t> request) {
  CommandReport r{};
  std::copy_n(request.begin(), std::min(request.size(), r.size()), r.begin());
  return r;
}

CommandReport EchoHeader(const CommandReport& request) {
  CommandReport reply{};
  reply[0] = kCommandReportId;
  std::copy_n(request.begin() + 1, 6, reply.begin() + 1);
  return reply;
}

CommandReport Finish(CommandReport reply, uint8_t status) {
  reply[7] = status;
  StoreCommandChecksum(reply);
  return reply;
}

}  // namespace

bool CommandArea(uint8_t code, MemoryArea& area, bool& isRead) {
  switch (code) {
    case kCmdReadDeviceInfo:
      area = MemoryArea::DeviceInfo, isRead = true;
      return true;
    case kCmdReadParams:
      area = MemoryArea::Params, isRead = true;
      return true;
    case kCmdWriteParams:
      area = MemoryArea::Params, isRead = false;
      return true;
    case kCmdReadDefaultKeyTable:
      area = MemoryArea::DefaultKeyTable, isRead = true;
      return true;
    case kCmdReadKeyTable:
      area = MemoryArea::KeyTable, isRead = true;
      return true;
    case kCmdWriteKeyTable:
      area = MemoryArea::KeyTable, isRead = false;
      return true;
    case kCmdWriteKeyTable2:
      area = MemoryArea::KeyTable2, isRead = false;
      return true;
    case kCmdReadColorTable:
      area = MemoryArea::ColorTables, isRead = true;
      return true;
    case kCmdWriteColorTable:
      area = MemoryArea::ColorTables, isRead = false;
      return true;
    case kCmdWriteLightFrame:
      area = MemoryArea::LightFrame, isRead = false;
      return true;
    case kCmdWriteMacroData:
      area = MemoryArea::Macro, isRead = false;
      return true;
    case kCmdWriteShootData:
      area = MemoryArea::Shoot, isRead = false;
      return true;
    case kCmdReadStatus:
      area = MemoryArea::Status, isRead = true;
      return true;
    case kCmdReadKeyLedTable:
      area = MemoryArea::KeyLedTable, isRead = true;
      return true;
    default:
      return false;
  }
}

CommandReport StatusReply(std::span<const uint8_t> request, uint8_t status) {
  return Finish(EchoHeader(Normalise(request)), status);
}

CommandReport SilentDeviceReply(std::span<const uint8_t> request) {
  CommandReport reply = EchoHeader(Normalise(request));
  reply[3] = kReceiverNoAnswer;
  return Finish(reply, 0);
}

CommandReport RespondToCommand(FirmwareMemory& memory, std::span<const uint8_t> request) {
  const CommandReport req = Normalise(request);
  CommandReport reply = EchoHeader(req);

  if (req[0] != kCommandReportId) return Finish(reply, kStatusRefused);
  const uint16_t sent = static_cast<uint16_t>(req[1] | (req[2] << 8));
  if (sent != CommandChecksum(req)) return Finish(reply, kStatusRefused);

  const uint8_t code = CommandCodeOf(req);
  switch (code) {
    case kCmdBeginConfig:
      memory.configuring = true;
      ++memory.beginConfigCount;
      ++memory.commandsAnswered;
      return Finish(reply, 0);
    case kCmdEndConfig:
      memory.configuring = false;
      ++memory.endConfigCount;
      ++memory.commandsAnswered;
      return Finish(reply, 0);
    case kCmdHostLightingOn:
      memory.hostLighting = true;
      ++memory.hostLightingCount;
      ++memory.commandsAnswered;
      return Finish(reply, 0);
    case kCmdProbeWireless:
      // Answered by the device itself: it is there.
      reply[kCommandPayloadOffset] = 0xFF;
      ++memory.commandsAnswered;
      return Finish(reply, 0);
    default:
      break;
  }

  MemoryArea areaId;
  bool isRead = false;
  if (!CommandArea(code, areaId, isRead)) return Finish(reply, kStatusRefused);

  const size_t length = PayloadLengthOf(req);
  const size_t offset = OffsetOf(req);
  std::vector<uint8_t>& area = memory.Area(areaId);
  if (area.empty()) return Finish(reply, kStatusFailed);  // a device without this area
  // Checked as sizes, never as a pointer past the area: offset and length are both untrusted.
  if (length > kMaxCommandPayload || offset > area.size() || length > area.size() - offset) {
    return Finish(reply, kStatusFailed);
  }

  const auto first = area.begin() + static_cast<std::ptrdiff_t>(offset);
  if (isRead) {
    std::copy_n(first, length, reply.begin() + kCommandPayloadOffset);
  } else {
    std::copy_n(req.begin() + kCommandPayloadOffset, length, first);
    if (areaId == MemoryArea::LightFrame) {
      ++memory.lightFrameChunks;
      if (offset == 0) ++memory.lightFrames;
    }
  }
  ++memory.commandsAnswered;
  return Finish(reply, 0);
}

}  // namespace vorlin
