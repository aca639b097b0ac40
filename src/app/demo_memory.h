#pragma once

// The emulated devices' memory kept in the demo folder between runs, so that a setting made in
// demo mode is there at the next start, as on a real device: "<folder>/<data name>.firmware"
// (firmware_image.h). Restored before the devices are plugged in; written crash-safely when it
// differs from what is on disk. A file that cannot be read or is not an image of that device is
// treated as missing: the device starts from its factory memory.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace vorlin {

class DeviceEmulator;
class Firmware;

class DemoMemory {
 public:
  explicit DemoMemory(std::filesystem::path folder);

  std::filesystem::path FileOf(const std::string& data_name) const;

  // Gives `firmware` the memory stored for `data_name`, if any. True when it was restored.
  bool Restore(const std::string& data_name, Firmware& firmware);
  // Writes the memory of every product of `emulator` whose memory changed since it was restored
  // or last saved. False when any write failed (logged).
  bool SaveChanged(DeviceEmulator& emulator);

 private:
  std::filesystem::path folder_;
  std::map<std::string, std::vector<uint8_t>> on_disk_;  // what each file holds now
};

}  // namespace vorlin
