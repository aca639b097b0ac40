#pragma once

// Where the program's HID interfaces come from: the hidraw nodes of the devices plugged in, or,
// with --demo or when none of them is there, the emulated devices on the virtual bus; plus, when
// asked for, interfaces that other processes attach through the emulator socket. Shared by the
// window and the console probe so both decide alike.

#include <memory>
#include <optional>
#include <string>

namespace vorlin {

class DemoMemory;
class DeviceEmulator;
class HidBackend;
class SocketSeam;
class VirtualHidBus;

// How the program gets its devices. Chosen once at start-up, before any document is read, because
// the emulated devices keep their documents in a folder of their own.
enum class DeviceSourceMode {
  // The hidraw nodes, watched for arrivals (and, when asked for, the emulator socket's
  // interfaces). Also when the supported nodes there cannot be opened: the window then says why.
  kReal,
  // --demo: the emulated devices only.
  kDemo,
  // No supported device is plugged in: the emulated devices stand in until a real one arrives
  // (the program then starts again on the real devices: real_device_watch.h).
  kStandIn,
};

struct DeviceSourceOptions {
  bool demo = false;      // the emulated devices even when real ones are present
  bool useHidraw = true;  // tests turn the machine's own devices off
  std::string simSocket;  // listen for outside device models here when not empty
  // When not empty, the built-in emulated devices keep their memory in this folder between runs
  // (demo_memory.h).
  std::string emulatedMemoryFolder;
  // The mode the caller chose beforehand (ChooseDeviceSourceMode); chosen by Start when empty.
  std::optional<DeviceSourceMode> mode;
};

// `supported_node_present`: a hidraw node of a supported product is there, openable or not.
DeviceSourceMode ChooseDeviceSourceMode(const DeviceSourceOptions& options,
                                        bool supported_node_present);
// The same, looking at this machine's hidraw nodes (only when the options let it matter).
DeviceSourceMode ChooseDeviceSourceMode(const DeviceSourceOptions& options);

class DeviceSources {
 public:
  DeviceSources();
  // Takes every backend it added out of HidBackends again and keeps the emulated devices' memory
  // when asked to.
  ~DeviceSources();
  DeviceSources(const DeviceSources&) = delete;
  DeviceSources& operator=(const DeviceSources&) = delete;

  // Registers the backends. False, with the reason, when the emulator socket cannot listen.
  bool Start(const DeviceSourceOptions& options, std::string* error);

  DeviceSourceMode Mode() const { return mode_; }
  // Some devices are emulated (built in or from the socket).
  bool Emulated() const { return bus_ != nullptr; }
  bool UsesHidraw() const { return hidraw_ != nullptr; }
  DeviceEmulator* Emulator() const { return emulator_.get(); }
  const std::shared_ptr<VirtualHidBus>& Bus() const { return bus_; }

 private:
  DeviceSourceMode mode_ = DeviceSourceMode::kReal;
  std::shared_ptr<HidBackend> hidraw_;
  std::shared_ptr<VirtualHidBus> bus_;
  std::unique_ptr<DemoMemory> memory_;
  std::unique_ptr<DeviceEmulator> emulator_;
  std::unique_ptr<SocketSeam> seam_;
};

}  // namespace vorlin
