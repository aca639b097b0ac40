#pragma once

// One physical product: its firmware, the USB device it is when plugged in by cable, and for a
// wireless product the receiver through which it is also reached. The things a user does with the
// product itself (switching it on and off, pressing its profile and DPI buttons, clicking, typing)
// happen here, and their event reports go out the way the product is connected.

#include <cstdint>
#include <memory>

#include "sim/emulated_device.h"
#include "sim/firmware.h"

namespace vorlin {

// Event codes the products send on their event collection.
inline constexpr uint16_t kEventResync = 0x0401;        // settings changed on the device: read them
inline constexpr uint16_t kEventFullReload = 0x0402;    // ... and reload the profile
inline constexpr uint16_t kEventClick = 0x0403;         // mouse click (reactive lighting)
inline constexpr uint16_t kEventKeyPress = 0x0500;      // + key slot
inline constexpr uint16_t kEventKeyRelease = 0x0600;    // + key slot
inline constexpr uint16_t kEventProfile = 0x1000;       // + profile (low 4 bits)
inline constexpr uint16_t kEventProfileStage = 0x1100;  // + stage << 4 + profile

class EmulatedPeripheral {
 public:
  // The cable device and the receiver (null for a product without one) share `firmware`.
  EmulatedPeripheral(std::shared_ptr<Firmware> firmware, std::unique_ptr<EmulatedDevice> cable,
                     std::unique_ptr<EmulatedDevice> receiver);

  Firmware& GetFirmware() const { return *firmware_; }
  EmulatedDevice& Cable() const { return *cable_; }
  EmulatedDevice* Receiver() const { return receiver_.get(); }

  // Switching the product off makes its receiver answer 0xAA; the cable, when plugged in, powers
  // it regardless.
  void SetPoweredOn(bool on) { firmware_->SetPoweredOn(on); }
  bool PoweredOn() const { return firmware_->PoweredOn(); }

  // Sends an event report the way the product is connected: by cable when the cable is plugged
  // in, else through the receiver when it is plugged in and the product is on. False when the
  // report has no way to the host.
  bool SendEvent(uint16_t code, int delayMs = 0) const;

  bool RequestResync() const { return SendEvent(kEventResync); }
  bool RequestFullReload() const { return SendEvent(kEventFullReload); }
  bool Click() const { return SendEvent(kEventClick); }
  bool PressKey(uint8_t slot) const { return SendEvent(kEventKeyPress | slot); }
  bool ReleaseKey(uint8_t slot) const { return SendEvent(kEventKeyRelease | slot); }

  // The product's own profile button: stores the new current profile (parameter offset 0) and
  // reports it (0x10 0p). Profiles 0 to 15.
  bool SwitchProfile(uint8_t profile);
  // The product's own stage button (the mouse's DPI stage; the keyboard's record byte 17): stores
  // the stage in the current profile's record and reports it (0x11 sp). Stages 0 to 15.
  bool SwitchStage(uint8_t stage);

  // The status record's battery level and power state (0 charged, 1 charging, 2 on battery).
  void SetBattery(uint8_t level, uint8_t powerState);

 private:
  std::shared_ptr<Firmware> firmware_;
  std::unique_ptr<EmulatedDevice> cable_;
  std::unique_ptr<EmulatedDevice> receiver_;
};

// The record byte a stage button changes: 12 for the mouse (current DPI stage), 17 for the
// keyboard; -1 for products without a stage button.
int StageByteOf(FirmwareKind kind);

}  // namespace vorlin
