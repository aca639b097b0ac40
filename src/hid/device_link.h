#pragma once

// DeviceLink: the vendor command link of one device. It holds the two command interfaces of the
// product (by cable and through the 2.4 GHz receiver), speaks through the one of the current
// connection mode, and carries every command as 64-byte reports (hid/command_report.h), split into
// chunks of 56 payload bytes by cable and 24 through the receiver.
//
// Locks, always taken in this order: the command lock (ordinary commands) or the lighting lock
// (colour-table writes and lighting frames), then the transfer lock around each write and each
// reply read. Lighting frames never wait for configuration traffic: while another exchange is in
// progress their chunks are dropped.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>

#include "hid/command_report.h"
#include "hid/hid_device.h"

namespace vorlin {

// Result codes of every command.
enum LinkResult : int {
  kLinkOk = 1,
  kLinkNoExchange = 0,      // link not open, or the reply read failed (timeout or abort)
  kLinkWriteFailed = -1,    // the request was not written
  kLinkNoDevice = -101,     // through the receiver: the device behind it did not answer (0xAA)
  kLinkStatusFailed = -102, // reply status 0xFF
  kLinkStatusRefused = -103,// reply status 0xFE
  kLinkWrongReply = -104,   // a reply to another command came, then nothing that answered this one
  kLinkBadArgument = -201,  // a key-table page other than 0, or a buffer or range that cannot fit
};

inline constexpr int kWiredTimeoutMs = 1000;
inline constexpr int kWirelessTimeoutMs = 5000;
inline constexpr int kWirelessQuietTimeoutMs = 500;
inline constexpr uint8_t kWiredChunkSize = 56;
inline constexpr uint8_t kWirelessChunkSize = 24;
inline constexpr uint16_t kMaxBlockSize = 512;

class DeviceLink {
 public:
  DeviceLink() = default;
  DeviceLink(const DeviceLink&) = delete;
  DeviceLink& operator=(const DeviceLink&) = delete;

  // Link management.
  void SetConnectionMode(int mode);  // 2: receiver; anything else: cable
  bool SetBlockSize(uint32_t size);  // refused (false, unchanged) above 512
  uint16_t BlockSize() const { return blockSize_.load(std::memory_order_relaxed); }
  bool IsWireless() const { return wireless_.load(std::memory_order_relaxed); }
  uint8_t ChunkSize() const { return chunkSize_.load(std::memory_order_relaxed); }

  std::atomic<bool> open{false};
  // Kept for the device's lighting worker, which does not step its effect while it is set.
  std::atomic<bool> lightingHold{false};
  bool Busy() const { return busy_.load(std::memory_order_relaxed); }

  // How long each reply read may wait, by connection. The defaults are what the devices need;
  // the fuzz target and tests whose replies never match shorten them, so a run measures the
  // parsing rather than the waiting.
  struct ReplyTimeouts {
    int wiredMs = kWiredTimeoutMs;
    int wirelessMs = kWirelessTimeoutMs;
    int wirelessQuietMs = kWirelessQuietTimeoutMs;
  };
  void SetReplyTimeouts(const ReplyTimeouts& timeouts);

  HidDevice& WiredInterface() { return wired_; }
  HidDevice& ReceiverInterface() { return receiver_; }
  // Taken by the owner while it (re-)opens the interfaces.
  std::mutex& TransferLock() { return transferLock_; }

  // One exchange: request (zero-filled to 64 bytes) written, reply read with the two-read rule,
  // both logged as hexadecimal lines. TransactQuiet does the same without logging and with the
  // shorter wireless timeout.
  int Transact(std::span<const uint8_t> request, std::span<uint8_t> reply, size_t& received);
  int TransactQuiet(std::span<const uint8_t> request, std::span<uint8_t> reply, size_t& received);

  // Commands (a page is 0-based).
  int BeginConfig();
  int EndConfig();
  int ReadDeviceInfo(std::span<uint8_t> destination);  // at least 34 bytes
  int ReadParams(std::span<uint8_t> destination, uint16_t startOffset);
  int WriteParams(std::span<const uint8_t> data, uint16_t startOffset);
  int ReadDefaultKeyTable(std::span<uint8_t> destination);  // block size bytes
  int ReadKeyTable(std::span<uint8_t> destination, int page);
  int WriteKeyTable(std::span<const uint8_t> data, int page);
  int WriteKeyTable2(std::span<const uint8_t> data, int page);
  int ReadColorTable(std::span<uint8_t> destination, int page, uint32_t pageStride);
  int WriteColorTable(std::span<const uint8_t> data, int page, uint32_t pageStride);
  int WriteLightFrame(std::span<const uint8_t> data);
  int WriteMacroData(std::span<const uint8_t> data);
  int WriteShootData(std::span<const uint8_t> data);
  int ReadStatus(std::span<uint8_t> destination, uint16_t offset);  // at most 56 bytes
  int ReadKeyLedTable(std::span<uint8_t> destination);  // block size / 3 bytes
  int HostLightingOn();
  // True when the device can be reached: always by cable (nothing is sent); through the receiver
  // only when the probe succeeds and the device answers 0xFF in reply byte 8.
  bool ProbeWireless();

 private:
  enum class Lock { Command, Lighting, None };
  struct Chunking {
    uint8_t code = 0;
    Lock lock = Lock::Command;
    uint32_t startOffset = 0;
    uint8_t chunkSize = 0;   // 0: the connection's chunk size
    bool lightFrame = false; // quiet exchanges, chunks dropped while busy
  };

  int Exchange(std::span<const uint8_t> request, std::span<uint8_t> reply, size_t& received,
               bool logged);
  int SingleReport(uint8_t code, uint8_t length, uint16_t offset, std::span<uint8_t> destination,
                   CommandReport* replyOut = nullptr);
  int ChunkedRead(const Chunking& how, std::span<uint8_t> destination);
  int ChunkedWrite(const Chunking& how, std::span<const uint8_t> data);
  int ChunkedTransfer(const Chunking& how, size_t total, const uint8_t* writeData,
                      uint8_t* readDestination);
  int KeyTablePageOffset(int page, uint32_t& offset) const;
  std::unique_lock<std::mutex> TakeLock(Lock lock);
  HidDevice& CurrentInterface() { return IsWireless() ? receiver_ : wired_; }

  std::atomic<uint16_t> blockSize_{kMaxBlockSize};
  std::atomic<int> wiredTimeoutMs_{kWiredTimeoutMs};
  std::atomic<int> wirelessTimeoutMs_{kWirelessTimeoutMs};
  std::atomic<int> wirelessQuietTimeoutMs_{kWirelessQuietTimeoutMs};
  std::atomic<bool> busy_{false};
  std::atomic<bool> wireless_{false};
  std::atomic<uint8_t> chunkSize_{kWirelessChunkSize};
  HidDevice wired_;
  HidDevice receiver_;
  std::mutex transferLock_;
  std::mutex commandLock_;
  std::mutex lightingLock_;
};

}  // namespace vorlin
