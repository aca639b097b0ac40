#include "app/device_sources.h"

#include "app/demo_memory.h"
#include "catalogue/extra_product_ids.h"
#include "catalogue/product_catalogue.h"
#include "hid/hid_backend.h"
#include "hid/hidraw_backend.h"
#include "hid/node_access.h"
#include "hid/virtual_bus.h"
#include "platform/log.h"
#include "sim/device_emulator.h"
#include "sim/socket_seam.h"

namespace vorlin {

DeviceSources::DeviceSources() = default;

DeviceSources::~DeviceSources() {
  seam_.reset();
  if (hidraw_) HidBackends::Remove(hidraw_);
  if (bus_) HidBackends::Remove(bus_);
  if (memory_ && emulator_) memory_->SaveChanged(*emulator_);
  emulator_.reset();
}

DeviceSourceMode ChooseDeviceSourceMode(const DeviceSourceOptions& options,
                                        bool supported_node_present) {
  if (options.demo) return DeviceSourceMode::kDemo;
  // A socket client brings devices of its own: its bus starts empty beside the real devices.
  if (!options.simSocket.empty()) return DeviceSourceMode::kReal;
  if (options.useHidraw && supported_node_present) return DeviceSourceMode::kReal;
  return DeviceSourceMode::kStandIn;
}

DeviceSourceMode ChooseDeviceSourceMode(const DeviceSourceOptions& options) {
  const bool looks = !options.demo && options.simSocket.empty() && options.useHidraw;
  return ChooseDeviceSourceMode(
      options, looks && SupportedHidrawNodePresent(ProgramCatalogue().InterfaceRows()));
}

bool DeviceSources::Start(const DeviceSourceOptions& options, std::string* error) {
  mode_ = options.mode.value_or(ChooseDeviceSourceMode(options));
  // The hidraw nodes are always watched on the real devices' path, so that a device plugged in
  // later is found; the emulated devices never mix with them.
  if (mode_ == DeviceSourceMode::kReal && options.useHidraw) {
    hidraw_ = std::make_shared<HidrawBackend>();
    HidBackends::Add(hidraw_);
  }
  if (mode_ != DeviceSourceMode::kReal) {
    if (mode_ == DeviceSourceMode::kStandIn)
      qCInfo(lcVorlin) << "no supported device is plugged in: using the emulated devices";
    DeviceEmulatorOptions emulator_options;
    if (!options.emulatedMemoryFolder.empty()) {
      memory_ = std::make_unique<DemoMemory>(options.emulatedMemoryFolder);
      emulator_options.beforePlug = [memory = memory_.get()](const std::string& name,
                                                             Firmware& firmware) {
        memory->Restore(name, firmware);
      };
    }
    emulator_ = std::make_unique<DeviceEmulator>(nullptr, emulator_options);
    bus_ = emulator_->Bus();
    // Demo mode runs for as long as the user likes: keep no report trace (lighting frames alone
    // would fill it); tests make emulators of their own and keep theirs.
    bus_->SetTraceLimit(0);
  }
  if (!options.simSocket.empty()) {
    if (!bus_) bus_ = std::make_shared<VirtualHidBus>();
    seam_ = std::make_unique<SocketSeam>(bus_);
    std::string reason;
    if (!seam_->Listen(options.simSocket, &reason)) {
      if (error) *error = "cannot listen on " + options.simSocket + ": " + reason;
      return false;
    }
  }
  if (bus_) HidBackends::Add(bus_);
  return true;
}

}  // namespace vorlin
