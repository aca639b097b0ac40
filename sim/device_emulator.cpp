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

// The firmware model and the boot interface a product of `family` has.
FirmwareKind KindOf(DeviceFamily family) {
  switch (family) {
    case DeviceFamily::kKeyboard:
      return FirmwareKind::Keyboard;
    case DeviceFamily::kMousePad:
      return FirmwareKind::MousePad;
    case DeviceFamily::kHeadset:
      return FirmwareKind::Headset;
    case DeviceFamily::kMouse:
    case DeviceFamily::kNone:
      break;
  }
  return FirmwareKind::Mouse;
}

BootInterface BootOf(DeviceFamily family) {
  if (family == DeviceFamily::kMouse) return BootInterface::Mouse;
  if (family == DeviceFamily::kKeyboard) return BootInterface::Keyboard;
  return BootInterface::None;
}

}  // namespace

DeviceEmulator::DeviceEmulator(std::shared_ptr<VirtualHidBus> bus,
                               const DeviceEmulatorOptions& options,
                               const ProductCatalogue& catalogue)
    : bus_(bus ? std::move(bus) : std::make_shared<VirtualHidBus>()) {
  for (const ProductEntry& product : catalogue.Products()) {
    if (product.family == DeviceFamily::kNone || product.cable.ids.empty()) continue;
    const InterfaceStyle style = product.family == DeviceFamily::kHeadset
                                     ? InterfaceStyle::Headset
                                     : InterfaceStyle::VendorCollections;
    const UsbId cable = product.cable.ids.front();
    const uint16_t cable_version = product.family == DeviceFamily::kMouse
                                       ? options.mouseCableVersion
                                       : kFactoryFirmwareVersion;
    auto firmware = std::make_shared<Firmware>(MakeFactoryMemory(KindOf(product.family)));
    std::unique_ptr<EmulatedDevice> receiver;
    if (product.receiver && !product.receiver->ids.empty()) {
      const UsbId id = product.receiver->ids.front();
      receiver = std::make_unique<EmulatedDevice>(
          bus_,
          Spec(product.dataName + " receiver", id.vendorId, id.productId, kFactoryFirmwareVersion,
               style, BootInterface::None, true),
          firmware);
    }
    auto peripheral = std::make_unique<EmulatedPeripheral>(
        firmware,
        std::make_unique<EmulatedDevice>(bus_,
                                         Spec(product.dataName, cable.vendorId, cable.productId,
                                              cable_version, style, BootOf(product.family), false),
                                         firmware),
        std::move(receiver));
    if (options.beforePlug) options.beforePlug(product.dataName, peripheral->GetFirmware());
    products_.push_back({product.family, product.dataName, std::move(peripheral)});
  }

  if (options.plugMouseCable) Mouse().Cable().Plug();
  if (options.plugMouseReceiver && Mouse().Receiver()) Mouse().Receiver()->Plug();
  if (options.plugKeyboard) Keyboard().Cable().Plug();
  if (options.plugKeyboardReceiver && Keyboard().Receiver()) Keyboard().Receiver()->Plug();
  if (options.plugMousePad) MousePad().Cable().Plug();
  if (options.plugHeadset) Headset().Cable().Plug();
}

DeviceEmulator::~DeviceEmulator() {
  UnplugAll();
}

EmulatedPeripheral& DeviceEmulator::Of(DeviceFamily family) {
  for (Product& product : products_) {
    if (product.family == family) return *product.peripheral;
  }
  return *products_.front().peripheral;
}

std::vector<EmulatedPeripheral*> DeviceEmulator::All() {
  std::vector<EmulatedPeripheral*> all;
  for (Product& product : products_) all.push_back(product.peripheral.get());
  return all;
}

std::vector<std::string> DeviceEmulator::DataNames() const {
  std::vector<std::string> names;
  for (const Product& product : products_) names.push_back(product.dataName);
  return names;
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
