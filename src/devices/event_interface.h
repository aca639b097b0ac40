#pragma once

// One event interface of a device (the consumer-control collection through which it reports what
// happened on the device) and the thread that reads it. The mouse and the keyboard have one for
// the cable and one for the receiver; the mouse pad and the headset one.
//
// The reader waits in a read without a time limit; Close ends that read at once (the interface's
// Close aborts it), then stops the thread within its bound. Each report is decoded and its event
// code (the first usage of the report) handed to the handler on the reader's thread: the handler
// must hand anything that touches widgets to the UI thread.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>

#include "devices/device_worker.h"
#include "hid/hid_device.h"

namespace vorlin {

class EventInterface {
 public:
  using Handler = std::function<void(uint16_t code, std::span<const uint8_t> report)>;

  // `exitLog`: the reader's exit line; `stopBound`: how long Close waits for it.
  EventInterface(std::string exitLog, std::chrono::milliseconds stopBound);
  ~EventInterface();
  EventInterface(const EventInterface&) = delete;
  EventInterface& operator=(const EventInterface&) = delete;

  // Opens `path` (closing an interface already open first) and starts the reader. False when the
  // path cannot be opened; nothing runs then.
  bool Open(const std::string& path, Handler handler);
  // Closes the interface and stops the reader. Nothing happens when it is not open.
  void Close();
  bool IsOpen() const { return open_.load(std::memory_order_relaxed); }
  std::string Path() const;

 private:
  void Read(const StopEvent& stop);

  std::chrono::milliseconds stop_bound_;
  mutable std::mutex lock_;  // opening and closing against each other
  HidDevice device_;
  std::atomic<bool> open_{false};
  Handler handler_;  // set before the reader starts, read only by it
  DeviceWorker reader_;
};

}  // namespace vorlin
