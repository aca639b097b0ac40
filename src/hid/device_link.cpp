#include "hid/device_link.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "hid/report_log.h"
#include "platform/log.h"

namespace vorlin {

namespace {

// Clears the busy flag however an exchange ends.
class BusyScope {
 public:
  explicit BusyScope(std::atomic<bool>& busy) : busy_(busy) { busy_.store(true); }
  ~BusyScope() { busy_.store(false); }

 private:
  std::atomic<bool>& busy_;
};

int StatusResult(const CommandReport& reply) {
  if (StatusOf(reply) == kStatusFailed) return kLinkStatusFailed;
  if (StatusOf(reply) == kStatusRefused) return kLinkStatusRefused;
  return kLinkOk;
}

}  // namespace

void DeviceLink::SetConnectionMode(int mode) {
  const bool wireless = mode == 2;
  wireless_.store(wireless);
  chunkSize_.store(wireless ? kWirelessChunkSize : kWiredChunkSize);
}

bool DeviceLink::SetBlockSize(uint32_t size) {
  if (size > kMaxBlockSize) return false;
  blockSize_.store(static_cast<uint16_t>(size));
  return true;
}

int DeviceLink::Transact(std::span<const uint8_t> request, std::span<uint8_t> reply,
                         size_t& received) {
  return Exchange(request, reply, received, true);
}

int DeviceLink::TransactQuiet(std::span<const uint8_t> request, std::span<uint8_t> reply,
                              size_t& received) {
  return Exchange(request, reply, received, false);
}

void DeviceLink::SetReplyTimeouts(const ReplyTimeouts& timeouts) {
  wiredTimeoutMs_.store(timeouts.wiredMs, std::memory_order_relaxed);
  wirelessTimeoutMs_.store(timeouts.wirelessMs, std::memory_order_relaxed);
  wirelessQuietTimeoutMs_.store(timeouts.wirelessQuietMs, std::memory_order_relaxed);
}

int DeviceLink::Exchange(std::span<const uint8_t> request, std::span<uint8_t> reply,
                         size_t& received, bool logged) {
  BusyScope busy(busy_);
  received = 0;
  if (!open.load()) return kLinkNoExchange;

  CommandReport out{};
  std::copy_n(request.begin(), std::min(request.size(), out.size()), out.begin());
  if (logged) LogCommandReport("request", out);

  const bool wireless = IsWireless();
  const int timeout = (!wireless ? wiredTimeoutMs_
                       : logged  ? wirelessTimeoutMs_
                                 : wirelessQuietTimeoutMs_)
                          .load(std::memory_order_relaxed);
  HidDevice& device = CurrentInterface();

  {
    std::lock_guard lock(transferLock_);
    size_t written = 0;
    if (!device.Write(out.data(), out.size(), written, timeout)) return kLinkWriteFailed;
  }

  int result = kLinkNoExchange;
  {
    std::lock_guard lock(transferLock_);
    // A device may still have the answer to an earlier request queued: a reply that echoes
    // another command is read past once; the second reply stands whatever it echoes. When only
    // the other command's reply came, the device answered wrongly rather than not at all.
    bool other_echo = false;
    for (int attempt = 0; attempt < 2; ++attempt) {
      size_t got = 0;
      const bool arrived = !reply.empty() && device.Read(reply.data(), reply.size(), got, timeout);
      received = got;
      result = arrived ? kLinkOk : other_echo ? kLinkWrongReply : kLinkNoExchange;
      if (!arrived || reply.size() < 4) continue;
      if (reply[3] == out[3]) break;
      other_echo = true;
      if (wireless && reply[3] == kReceiverNoAnswer) {
        result = kLinkNoDevice;
        break;
      }
    }
  }

  if (logged) {
    CommandReport in{};
    std::copy_n(reply.begin(), std::min(reply.size(), in.size()), in.begin());
    LogCommandReport("reply", in);
  }
  return result;
}

std::unique_lock<std::mutex> DeviceLink::TakeLock(Lock lock) {
  switch (lock) {
    case Lock::Command:
      return std::unique_lock(commandLock_);
    case Lock::Lighting:
      return std::unique_lock(lightingLock_);
    case Lock::None:
      break;
  }
  return {};
}

int DeviceLink::SingleReport(uint8_t code, uint8_t length, uint16_t offset,
                             std::span<uint8_t> destination, CommandReport* replyOut) {
  const CommandReport request = MakeCommandReport(code, length, offset);
  CommandReport reply{};
  size_t received = 0;
  int result;
  {
    auto lock = TakeLock(Lock::Command);
    result = Transact(request, reply, received);
  }
  if (result != kLinkOk) return result;
  result = StatusResult(reply);
  if (result != kLinkOk) return result;
  std::copy_n(reply.begin() + kCommandPayloadOffset, std::min<size_t>(destination.size(), length),
              destination.begin());
  if (replyOut) *replyOut = reply;
  return kLinkOk;
}

int DeviceLink::ChunkedTransfer(const Chunking& how, size_t total, const uint8_t* writeData,
                                uint8_t* readDestination) {
  // Offsets are 16-bit addresses: a transfer that would run past 0xFFFF would wrap round and
  // overwrite the start of the area, so it is refused before anything is sent.
  if (how.startOffset + total > 0x10000) return kLinkBadArgument;
  const size_t chunk = how.chunkSize ? how.chunkSize : ChunkSize();
  for (size_t position = 0; position < total; position += chunk) {
    const size_t n = std::min(chunk, total - position);
    const auto offset = static_cast<uint16_t>(how.startOffset + position);
    const CommandReport request = MakeCommandReport(
        how.code, static_cast<uint8_t>(n), offset,
        writeData ? std::span<const uint8_t>(writeData + position, n) : std::span<const uint8_t>{});

    CommandReport reply{};
    size_t received = 0;
    int result;
    {
      auto lock = TakeLock(how.lock);
      if (how.lightFrame && Busy()) {
        // Frames follow each other at animation rate: drop this chunk rather than delay a
        // configuration command that is under way.
        qCDebug(lcReports) << "lighting frame dropped: a command is under way";
        continue;
      }
      result = how.lightFrame ? TransactQuiet(request, reply, received)
                              : Transact(request, reply, received);
    }
    if (result != kLinkOk) return result;
    result = StatusResult(reply);
    if (result != kLinkOk) return result;
    if (readDestination)
      std::copy_n(reply.begin() + kCommandPayloadOffset, n, readDestination + position);
  }
  return kLinkOk;
}

int DeviceLink::ChunkedRead(const Chunking& how, std::span<uint8_t> destination) {
  return ChunkedTransfer(how, destination.size(), nullptr, destination.data());
}

int DeviceLink::ChunkedWrite(const Chunking& how, std::span<const uint8_t> data) {
  return ChunkedTransfer(how, data.size(), data.data(), nullptr);
}

int DeviceLink::KeyTablePageOffset(int page, uint32_t& offset) const {
  if (page != 0) return kLinkBadArgument;
  offset = static_cast<uint32_t>(page) * 512;
  return kLinkOk;
}

int DeviceLink::BeginConfig() { return SingleReport(kCmdBeginConfig, 0, 0, {}); }

int DeviceLink::EndConfig() {
  // The device needs a moment after the last write before it takes the end of a configuration.
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return SingleReport(kCmdEndConfig, 0, 0, {});
}

int DeviceLink::ReadDeviceInfo(std::span<uint8_t> destination) {
  if (destination.size() < kDeviceInfoSize) return kLinkBadArgument;
  return ChunkedRead({kCmdReadDeviceInfo}, destination.first(kDeviceInfoSize));
}

int DeviceLink::ReadParams(std::span<uint8_t> destination, uint16_t startOffset) {
  return ChunkedRead({kCmdReadParams, Lock::Command, startOffset}, destination);
}

int DeviceLink::WriteParams(std::span<const uint8_t> data, uint16_t startOffset) {
  return ChunkedWrite({kCmdWriteParams, Lock::Command, startOffset}, data);
}

int DeviceLink::ReadDefaultKeyTable(std::span<uint8_t> destination) {
  if (destination.size() < BlockSize()) return kLinkBadArgument;
  return ChunkedRead({kCmdReadDefaultKeyTable}, destination.first(BlockSize()));
}

int DeviceLink::ReadKeyTable(std::span<uint8_t> destination, int page) {
  uint32_t offset = 0;
  if (KeyTablePageOffset(page, offset) != kLinkOk) return kLinkBadArgument;
  if (destination.size() < BlockSize()) return kLinkBadArgument;
  return ChunkedRead({kCmdReadKeyTable, Lock::Command, offset}, destination.first(BlockSize()));
}

int DeviceLink::WriteKeyTable(std::span<const uint8_t> data, int page) {
  uint32_t offset = 0;
  if (KeyTablePageOffset(page, offset) != kLinkOk) return kLinkBadArgument;
  if (data.size() < BlockSize()) return kLinkBadArgument;
  return ChunkedWrite({kCmdWriteKeyTable, Lock::Command, offset}, data.first(BlockSize()));
}

int DeviceLink::WriteKeyTable2(std::span<const uint8_t> data, int page) {
  uint32_t offset = 0;
  if (KeyTablePageOffset(page, offset) != kLinkOk) return kLinkBadArgument;
  if (data.size() < BlockSize()) return kLinkBadArgument;
  return ChunkedWrite({kCmdWriteKeyTable2, Lock::Command, offset}, data.first(BlockSize()));
}

int DeviceLink::ReadColorTable(std::span<uint8_t> destination, int page, uint32_t pageStride) {
  if (page < 0) return kLinkBadArgument;
  const uint64_t offset = uint64_t(page) * pageStride;
  if (offset > 0xFFFF) return kLinkBadArgument;
  return ChunkedRead({kCmdReadColorTable, Lock::Command, uint32_t(offset)}, destination);
}

int DeviceLink::WriteColorTable(std::span<const uint8_t> data, int page, uint32_t pageStride) {
  if (page < 0) return kLinkBadArgument;
  const uint64_t offset = uint64_t(page) * pageStride;
  if (offset > 0xFFFF) return kLinkBadArgument;
  return ChunkedWrite({kCmdWriteColorTable, Lock::Lighting, uint32_t(offset)}, data);
}

int DeviceLink::WriteLightFrame(std::span<const uint8_t> data) {
  Chunking how{kCmdWriteLightFrame, Lock::Lighting};
  how.lightFrame = true;
  return ChunkedWrite(how, data);
}

int DeviceLink::WriteMacroData(std::span<const uint8_t> data) {
  return ChunkedWrite({kCmdWriteMacroData}, data);
}

int DeviceLink::WriteShootData(std::span<const uint8_t> data) {
  return ChunkedWrite({kCmdWriteShootData, Lock::None, 0, kWiredChunkSize}, data);
}

int DeviceLink::ReadStatus(std::span<uint8_t> destination, uint16_t offset) {
  if (destination.size() > kMaxCommandPayload) return kLinkBadArgument;
  return SingleReport(kCmdReadStatus, static_cast<uint8_t>(destination.size()), offset,
                      destination);
}

int DeviceLink::ReadKeyLedTable(std::span<uint8_t> destination) {
  const size_t length = BlockSize() / 3;
  if (destination.size() < length) return kLinkBadArgument;
  return ChunkedRead({kCmdReadKeyLedTable}, destination.first(length));
}

int DeviceLink::HostLightingOn() { return SingleReport(kCmdHostLightingOn, 0, 0, {}); }

bool DeviceLink::ProbeWireless() {
  if (!IsWireless()) return true;
  CommandReport reply{};
  if (SingleReport(kCmdProbeWireless, 0, 0, {}, &reply) != kLinkOk) return false;
  return reply[kCommandPayloadOffset] == 0xFF;
}

}  // namespace vorlin
