#pragma once

// The set of emulated products that demo mode and the tests use, all on one virtual bus: one
// per product of the catalogue (the built-in one unless given), with the product's first USB id by
// cable and through its receiver. With the built-in catalogue:
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

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/product_catalogue.h"
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
  // Called for each product with its data name ("mouse", ...) before anything is plugged in:
  // demo mode gives the devices back the memory they had at the end of the last run.
  std::function<void(const std::string& dataName, Firmware& firmware)> beforePlug = nullptr;
};

class DeviceEmulator {
 public:
  // Builds the products on `bus`, or on a new bus when none is given, and plugs in those the
  // options ask for.
  explicit DeviceEmulator(std::shared_ptr<VirtualHidBus> bus = nullptr,
                          const DeviceEmulatorOptions& options = {},
                          const ProductCatalogue& catalogue = ProductCatalogue::BuiltIn());
  ~DeviceEmulator();  // unplugs everything
  DeviceEmulator(const DeviceEmulator&) = delete;
  DeviceEmulator& operator=(const DeviceEmulator&) = delete;

  const std::shared_ptr<VirtualHidBus>& Bus() const { return bus_; }

  // The first product of each family (the catalogue must have one).
  EmulatedPeripheral& Mouse() { return Of(DeviceFamily::kMouse); }
  EmulatedPeripheral& Keyboard() { return Of(DeviceFamily::kKeyboard); }
  EmulatedPeripheral& MousePad() { return Of(DeviceFamily::kMousePad); }
  EmulatedPeripheral& Headset() { return Of(DeviceFamily::kHeadset); }
  // Every product, in catalogue order.
  std::vector<EmulatedPeripheral*> All();
  // The data name of each product ("mouse", "keyboard", ...), in the order of All().
  std::vector<std::string> DataNames() const;

  void UnplugAll();

  // The bus's trace as readable lines (trace_format.h), for test failure messages.
  std::vector<std::string> TraceLines() const;
  std::string TraceText() const;

 private:
  EmulatedPeripheral& Of(DeviceFamily family);

  std::shared_ptr<VirtualHidBus> bus_;
  struct Product {
    DeviceFamily family;
    std::string dataName;
    std::unique_ptr<EmulatedPeripheral> peripheral;
  };
  std::vector<Product> products_;
};

}  // namespace vorlin
