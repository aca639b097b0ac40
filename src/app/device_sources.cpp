#include "app/device_sources.h"

#include "app/demo_memory.h"
#include "app/device_probe.h"
#include "hid/hid_backend.h"
#include "hid/hidraw_backend.h"
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

bool DeviceSources::Start(const DeviceSourceOptions& options, std::string* error) {
  if (options.useHidraw && !options.demo) {
    hidraw_ = std::make_shared<HidrawBackend>();
    HidBackends::Add(hidraw_);
    if (CountSupportedInterfaces() == 0) {
      HidBackends::Remove(hidraw_);
      hidraw_.reset();
    }
  }
  // The built-in emulated devices: asked for, or standing in when no device is plugged in. A
  // socket client brings devices of its own, so it starts with an empty bus unless asked for.
  const bool built_in = options.demo || (!hidraw_ && options.simSocket.empty());
  if (built_in) {
    if (!options.demo)
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
