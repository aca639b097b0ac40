#include "sim/emulated_peripheral.h"

namespace vorlin {

int StageByteOf(FirmwareKind kind) {
  switch (kind) {
    case FirmwareKind::Mouse:
      return 12;
    case FirmwareKind::Keyboard:
      return 17;
    default:
      return -1;
  }
}

EmulatedPeripheral::EmulatedPeripheral(std::shared_ptr<Firmware> firmware,
                                       std::unique_ptr<EmulatedDevice> cable,
                                       std::unique_ptr<EmulatedDevice> receiver)
    : firmware_(std::move(firmware)), cable_(std::move(cable)), receiver_(std::move(receiver)) {}

bool EmulatedPeripheral::SendEvent(uint16_t code, int delayMs) const {
  if (cable_->Plugged()) return cable_->SendEvent(code, delayMs);
  if (receiver_ && receiver_->Plugged() && firmware_->PoweredOn()) {
    return receiver_->SendEvent(code, delayMs);
  }
  return false;
}

bool EmulatedPeripheral::SwitchProfile(uint8_t profile) {
  const uint8_t p = profile & 0x0F;
  firmware_->Edit([&](FirmwareMemory& m) {
    if (!m.params.empty()) m.params[0] = p;
  });
  return SendEvent(static_cast<uint16_t>(kEventProfile | p));
}

bool EmulatedPeripheral::SwitchStage(uint8_t stage) {
  const uint8_t s = stage & 0x0F;
  const int byte = StageByteOf(firmware_->Kind());
  const uint8_t p = firmware_->Edit([&](FirmwareMemory& m) {
    const uint8_t current = m.CurrentProfile();
    std::span<uint8_t> record = m.ParamRecord(current);
    if (byte >= 0 && static_cast<size_t>(byte) < record.size()) record[byte] = s;
    return current;
  });
  return SendEvent(static_cast<uint16_t>(kEventProfileStage | (s << 4) | (p & 0x0F)));
}

void EmulatedPeripheral::SetBattery(uint8_t level, uint8_t powerState) {
  firmware_->Edit([&](FirmwareMemory& m) {
    m.status[0] = level;
    m.status[1] = powerState;
  });
}

}  // namespace vorlin
