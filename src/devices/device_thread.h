#pragma once

// Runs a device object on a thread of its own: its timers fire there and every exchange with the
// device (and every command of its page) runs there in order, so a device that stops answering
// holds up nothing but itself.
//
// Stopping aborts what the device waits for (closing its command interfaces ends a pending read at
// once), shuts the object down on its own thread, hands it back to the owner's thread and joins the
// thread. No thread is ever killed.

#include <memory>

class QThread;

namespace vorlin {

class CHalvexUSBDevice;

class DeviceThread {
 public:
  // Moves `device` to a new thread and starts it.
  explicit DeviceThread(std::unique_ptr<CHalvexUSBDevice> device);
  ~DeviceThread();  // Stop()
  DeviceThread(const DeviceThread&) = delete;
  DeviceThread& operator=(const DeviceThread&) = delete;

  CHalvexUSBDevice& Device() const { return *device_; }
  // Shuts the device down and joins its thread. Idempotent.
  void Stop();

 private:
  std::unique_ptr<CHalvexUSBDevice> device_;
  std::unique_ptr<QThread> thread_;
};

}  // namespace vorlin
