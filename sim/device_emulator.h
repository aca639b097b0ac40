#pragma once

// The set of emulated products that demo mode and the tests use, all on one virtual bus:
//
//   mouse           cable 320F:225E (interfaces 0 and 1), receiver 320F:225F (interface 1)
//   keyboard        cable 0000:0000 (interfaces 0 and 1), receiver 0000:0000 (interface 1,
//                   left unplugged unless asked for)
//   mouse pad       320F:1004 (interface 1)
//   headset         0C76:1630 (interface 3)
//
// Each starts with its factory memory (factory_contents.h). The emulator does not register the
// bus with HidBackends; the owner does that (HidBackends::Add(emulator.Bus())) so that it also
// decides when the bus goes away again.

#include <memory>
#include <string>
#include <vector>

#include "hid/virtual_bus.h"
#include "sim/emulated_peripheral.h"

namespace vorlin {

inline constexpr uint16_t kMouseVendorId = 0x320F;
inline constexpr uint16_t kMouseCableProductId = 0x225E;
inline constexpr uint16_t kMouseReceiverProductId = 0x225F;
inline constexpr uint16_t kPadVendorId = 0x320F;
inline constexpr uint16_t kPadProductId = 0x1004;
inline constexpr uint16_t kHeadsetVendorId = 0x0C76;
inline constexpr uint16_t kHeadsetProductId = 0x1630;
inline constexpr uint16_t kKeyboardVendorId = 0x0000;
inline constexpr uint16_t kKeyboardProductId = 0x0000;
inline constexpr uint16_t kKeyboardReceiverProductId = 0x0000;

struct DeviceEmulatorOptions {
  bool plugMouseCable = true;
  bool plugMouseReceiver = true;
  bool plugKeyboard = true;
  bool plugKeyboardReceiver = false;
  bool plugMousePad = true;
  bool plugHeadset = true;
  // The USB version number of the mouse's cable interfaces; below 0x0108 the program offers the
  // forced firmware update.
  uint16_t mouseCableVersion = 0x0108;
};

class DeviceEmulator {
 public:
  // Builds the products on `bus`, or on a new bus when none is given, and plugs in those the
  // options ask for.
  explicit DeviceEmulator(std::shared_ptr<VirtualHidBus> bus = nullptr,
                          const DeviceEmulatorOptions& options = {});
  ~DeviceEmulator();  // unplugs everything
  DeviceEmulator(const DeviceEmulator&) = delete;
  DeviceEmulator& operator=(const DeviceEmulator&) = delete;

  const std::shared_ptr<VirtualHidBus>& Bus() const { return bus_; }

  EmulatedPeripheral& Mouse() { return *mouse_; }
  EmulatedPeripheral& Keyboard() { return *keyboard_; }
  EmulatedPeripheral& MousePad() { return *pad_; }
  EmulatedPeripheral& Headset() { return *headset_; }
  std::vector<EmulatedPeripheral*> All();

  void UnplugAll();

  // The bus's trace as readable lines (trace_format.h), for test failure messages.
  std::vector<std::string> TraceLines() const;
  std::string TraceText() const;

 private:
  std::shared_ptr<VirtualHidBus> bus_;
  std::unique_ptr<EmulatedPeripheral> mouse_;
  std::unique_ptr<EmulatedPeripheral> keyboard_;
  std::unique_ptr<EmulatedPeripheral> pad_;
  std::unique_ptr<EmulatedPeripheral> headset_;
};

}  // namespace vorlin
