#include "sim/device_emulator.h"

#include "sim/factory_contents.h"
#include "sim/trace_format.h"

namespace vorlin {

namespace {

EmulatedDeviceSpec Spec(std::string name, uint16_t vid, uint16_t pid, uint16_t version,
                        InterfaceStyle style, BootInterface boot, bool receiver) {
  EmulatedDeviceSpec s;
  s.name = std::move(name);
  s.vendorId = vid;
  s.productId = pid;
  s.versionNumber = version;
  s.style = style;
  s.boot = boot;
  s.receiver = receiver;
  return s;
}

}  // namespace

DeviceEmulator::DeviceEmulator(std::shared_ptr<VirtualHidBus> bus,
                               const DeviceEmulatorOptions& options)
    : bus_(bus ? std::move(bus) : std::make_shared<VirtualHidBus>()) {
  constexpr auto kVendor = InterfaceStyle::VendorCollections;
  constexpr uint16_t kVersion = kFactoryFirmwareVersion;

  auto mouseFw = std::make_shared<Firmware>(MakeFactoryMemory(FirmwareKind::Mouse));
  mouse_ = std::make_unique<EmulatedPeripheral>(
      mouseFw,
      std::make_unique<EmulatedDevice>(
          bus_,
          Spec("mouse", kMouseVendorId, kMouseCableProductId, options.mouseCableVersion, kVendor,
               BootInterface::Mouse, false),
          mouseFw),
      std::make_unique<EmulatedDevice>(
          bus_,
          Spec("mouse receiver", kMouseVendorId, kMouseReceiverProductId, kVersion, kVendor,
               BootInterface::None, true),
          mouseFw));

  auto keyboardFw = std::make_shared<Firmware>(MakeFactoryMemory(FirmwareKind::Keyboard));
  keyboard_ = std::make_unique<EmulatedPeripheral>(
      keyboardFw,
      std::make_unique<EmulatedDevice>(bus_,
                                       Spec("keyboard", kKeyboardVendorId, kKeyboardProductId,
                                            kVersion, kVendor, BootInterface::Keyboard, false),
                                       keyboardFw),
      std::make_unique<EmulatedDevice>(
          bus_,
          Spec("keyboard receiver", kKeyboardVendorId, kKeyboardReceiverProductId, kVersion,
               kVendor, BootInterface::None, true),
          keyboardFw));

  auto padFw = std::make_shared<Firmware>(MakeFactoryMemory(FirmwareKind::MousePad));
  pad_ = std::make_unique<EmulatedPeripheral>(
      padFw,
      std::make_unique<EmulatedDevice>(bus_,
                                       Spec("mouse pad", kPadVendorId, kPadProductId, kVersion,
                                            kVendor, BootInterface::None, false),
                                       padFw),
      nullptr);

  auto headsetFw = std::make_shared<Firmware>(MakeFactoryMemory(FirmwareKind::Headset));
  headset_ = std::make_unique<EmulatedPeripheral>(
      headsetFw,
      std::make_unique<EmulatedDevice>(
          bus_,
          Spec("headset", kHeadsetVendorId, kHeadsetProductId, kVersion, InterfaceStyle::Headset,
               BootInterface::None, false),
          headsetFw),
      nullptr);

  if (options.plugMouseCable) mouse_->Cable().Plug();
  if (options.plugMouseReceiver) mouse_->Receiver()->Plug();
  if (options.plugKeyboard) keyboard_->Cable().Plug();
  if (options.plugKeyboardReceiver) keyboard_->Receiver()->Plug();
  if (options.plugMousePad) pad_->Cable().Plug();
  if (options.plugHeadset) headset_->Cable().Plug();
}

DeviceEmulator::~DeviceEmulator() {
  UnplugAll();
}

std::vector<EmulatedPeripheral*> DeviceEmulator::All() {
  return {mouse_.get(), keyboard_.get(), pad_.get(), headset_.get()};
}

void DeviceEmulator::UnplugAll() {
  for (EmulatedPeripheral* p : All()) {
    p->Cable().Unplug();
    if (p->Receiver()) p->Receiver()->Unplug();
  }
}

std::vector<std::string> DeviceEmulator::TraceLines() const {
  return FormatTrace(bus_->Trace());
}

std::string DeviceEmulator::TraceText() const {
  return JoinLines(TraceLines());
}

}  // namespace vorlin
