#include "app/demo_memory.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/log.h"
#include "profiles/atomic_file_write.h"
#include "sim/device_emulator.h"
#include "sim/firmware.h"
#include "sim/firmware_image.h"

namespace vorlin {

namespace {

// The whole file, or nothing when it cannot be read. Images are a few kilobytes; anything much
// larger is not one and is not read into memory.
std::vector<uint8_t> ReadSmallFile(const std::filesystem::path& path) {
  constexpr std::uintmax_t kLargestImage = 1 << 20;
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size > kLargestImage) return {};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

DemoMemory::DemoMemory(std::filesystem::path folder) : folder_(std::move(folder)) {}

std::filesystem::path DemoMemory::FileOf(const std::string& data_name) const {
  return folder_ / (data_name + ".firmware");
}

bool DemoMemory::Restore(const std::string& data_name, Firmware& firmware) {
  const std::filesystem::path path = FileOf(data_name);
  const std::vector<uint8_t> image = ReadSmallFile(path);
  if (image.empty()) return false;
  const bool restored = firmware.Edit(
      [&image](FirmwareMemory& memory) { return RestoreFirmwareImage(image, memory); });
  if (!restored) {
    qCWarning(lcVorlin) << "not a memory image of the emulated" << data_name.c_str()
                        << "(it starts from factory memory):" << path.c_str();
    return false;
  }
  on_disk_[data_name] = image;
  return true;
}

bool DemoMemory::SaveChanged(DeviceEmulator& emulator) {
  const std::vector<std::string> names = emulator.DataNames();
  const std::vector<EmulatedPeripheral*> products = emulator.All();
  bool all_written = true;
  for (size_t i = 0; i < products.size() && i < names.size(); ++i) {
    const std::vector<uint8_t> image = FirmwareImage(products[i]->GetFirmware().Snapshot());
    auto known = on_disk_.find(names[i]);
    if (known != on_disk_.end() && known->second == image) continue;
    std::error_code error;
    std::filesystem::create_directories(folder_, error);
    const std::filesystem::path path = FileOf(names[i]);
    if (!WriteFileAtomically(
            path, std::string_view(reinterpret_cast<const char*>(image.data()), image.size()))) {
      qCWarning(lcVorlin) << "cannot keep the memory of the emulated" << names[i].c_str() << "in"
                          << path.c_str();
      all_written = false;
      continue;
    }
    on_disk_[names[i]] = image;
  }
  return all_written;
}

}  // namespace vorlin
