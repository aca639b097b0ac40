#pragma once

// One device's firmware as the emulator runs it: its memory behind a lock, shared by every USB
// interface through which the device is reached (the mouse's cable and its receiver answer from
// the same memory), and whether the device is powered on (a wireless mouse can be switched off
// while its receiver stays plugged in).

#include <atomic>
#include <cstdint>
#include <mutex>
#include <span>
#include <utility>

#include "hid/command_report.h"
#include "sim/firmware_memory.h"

namespace vorlin {

class Firmware {
 public:
  explicit Firmware(FirmwareMemory memory) : memory_(std::move(memory)) {}
  Firmware(const Firmware&) = delete;
  Firmware& operator=(const Firmware&) = delete;

  FirmwareKind Kind() const { return kind_; }

  // Answers one command report (RespondToCommand under the lock).
  CommandReport Answer(std::span<const uint8_t> request);
  // Takes one headset lighting report; false when it was not well-formed.
  bool TakeHeadsetLightReport(std::span<const uint8_t> report);

  // Runs f(FirmwareMemory&) under the lock and returns its result. f must not call back into this
  // object.
  template <typename F>
  auto Edit(F&& f) {
    std::lock_guard lock(mutex_);
    return std::forward<F>(f)(memory_);
  }
  FirmwareMemory Snapshot() const;

  // Powered off, the device does not answer through a receiver (a cable powers it anyway).
  void SetPoweredOn(bool on) { poweredOn_.store(on, std::memory_order_relaxed); }
  bool PoweredOn() const { return poweredOn_.load(std::memory_order_relaxed); }

 private:
  mutable std::mutex mutex_;
  FirmwareMemory memory_;
  const FirmwareKind kind_ = memory_.kind;
  std::atomic<bool> poweredOn_{true};
};

}  // namespace vorlin
