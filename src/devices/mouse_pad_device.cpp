#include "devices/mouse_pad_device.h"

#include "hid/device_link.h"

namespace vorlin {

CHalvexMousePadDevice::CHalvexMousePadDevice(const ProductEntry& product, ProfileFolders folders)
    : CHalvexUSBDevice(product, std::move(folders)) {}

// The readers and the lighting worker call into this object: they are stopped before its
// members go.
CHalvexMousePadDevice::~CHalvexMousePadDevice() {
  Shutdown();
}

// ---- Reading the pad ----

void CHalvexMousePadDevice::ReadDeviceState() {
  if (LinkOpen()) {
    DeviceLink& link = Link();
    link.BeginConfig();
    std::array<uint8_t, kDeviceInfoSize> info{};
    if (link.ReadDeviceInfo(info) == kLinkOk) device_info_ = info;
    link.EndConfig();
  }
  // The record first, so that the bytes the program does not interpret are the pad's own when
  // the record is next written; the profile's lighting then goes on top of it.
  ReadRecordFromDevice(nullptr);
  LoadProfile();
  NoteDeviceRead();
  PublishView();
  StartLightingWorker();
}

void CHalvexMousePadDevice::ResyncFromDevice() {
  const LightWords before = GetLightWords();
  ReadParamRecord(nullptr);
  if (GetLightWords() != before) PublishView();
}

int CHalvexMousePadDevice::ReadParamRecord(int* profile) {
  ClearLightingHold();
  return ReadRecordFromDevice(profile);
}

int CHalvexMousePadDevice::ReadRecordFromDevice(int* profile) {
  if (profile) *profile = record_.Profile();
  if (!LinkOpen()) return kLinkOk;

  DeviceLink& link = Link();
  uint8_t current = 0;
  int result = link.ReadParams(std::span<uint8_t>(&current, 1), 0);
  if (result != kLinkOk) return result;
  std::array<uint8_t, PadParamRecord::kReadSize> read{};
  // A profile number is a byte, so its record always lies inside the 16-bit area.
  result = link.ReadParams(read, PadParamRecord::ReadOffset(current).value_or(0));
  if (result != kLinkOk) return result;

  const uint8_t effect_before = record_.Effect();
  if (record_.TakeRead(read, current)) {
    // The light words follow the record (stored directly: SetLightWords would also change the
    // profile, which keeps its own settings); the worker's preview starts the pad's effect afresh
    // when it changed.
    Lighting().words.Store(record_.WithLighting(GetLightWords()));
    Lighting().Changed();
    if (record_.Effect() != effect_before) RequestEffectRestart();
  }
  if (profile) *profile = current;
  return kLinkOk;
}

// ---- Writing the pad ----

int CHalvexMousePadDevice::WriteParamRecord(int profile, int) {
  const std::optional<uint16_t> offset = PadParamRecord::WriteOffset(profile);
  if (!offset) return kLinkBadArgument;
  if (!LinkOpen()) return kLinkNoExchange;
  const PadParamRecord::Bytes bytes = record_.ForWrite();
  DeviceLink& link = Link();
  link.BeginConfig();
  const int result = link.WriteParams(bytes, *offset);
  link.EndConfig();
  if (result == kLinkOk) record_.NoteWritten(bytes);
  return result;
}

// ---- Profile and lighting ----

int CHalvexMousePadDevice::LoadProfile() {
  const std::string& path = profile_.GetProfilePath();
  if (!path.empty()) profile_.LoadDevice(path);
  ApplyLighting();
  return 1;
}

int CHalvexMousePadDevice::ApplyLighting() {
  record_.ApplyLightSettings(profile_.GetLightSettings());
  // The words, the per-key light list and the selected custom effect (the words' setter puts the
  // same settings back into the profile, which changes nothing).
  LoadLightingFromProfile();
  return 1;
}

void CHalvexMousePadDevice::ReloadProfile() {
  const std::string& path = profile_.GetProfilePath();
  if (!path.empty()) profile_.LoadDevice(path);
  ApplyLighting();
  SaveProfile();
  PublishView();
}

void CHalvexMousePadDevice::LoadNameLists() {
  CHalvexUSBDevice::LoadNameLists();
  std::vector<int> codes;
  codes.reserve(BuiltInLightModes().size());
  for (const LightModeName& mode : BuiltInLightModes()) codes.push_back(mode.value);
  record_.SetEffectCodes(std::move(codes));
}

}  // namespace vorlin
