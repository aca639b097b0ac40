#include "sim/firmware.h"

#include "sim/command_responder.h"
#include "sim/headset_light_input.h"

namespace vorlin {

CommandReport Firmware::Answer(std::span<const uint8_t> request) {
  std::lock_guard lock(mutex_);
  return RespondToCommand(memory_, request);
}

bool Firmware::TakeHeadsetLightReport(std::span<const uint8_t> report) {
  std::lock_guard lock(mutex_);
  return vorlin::TakeHeadsetLightReport(memory_.headsetLighting, report);
}

FirmwareMemory Firmware::Snapshot() const {
  std::lock_guard lock(mutex_);
  return memory_;
}

}  // namespace vorlin
