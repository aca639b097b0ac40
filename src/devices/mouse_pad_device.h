#pragma once

// The lighted mouse pad. The pad has no keys, macros or sensor settings: the program reads its
// device information and its lighting record, writes the lighting as one 21-byte record, and
// previews the effect with the base's lighting worker. Always by cable; only the
// first profile slot of the pad is used.
//
// The kept record (pad_param_record.h) and the base's light words describe the same lighting and
// are kept in step: the profile's light settings fill both (ApplyLighting), a record read from
// the pad fills both (the profile keeps its own settings then), and a light-word change from the
// lighting panel goes into the profile (the base's SetLightWords), from where ApplyLighting takes
// it into the record before WriteParamRecord sends it.
//
// Everything here runs on the device's thread; the lighting worker reads only the light words.

#include <array>

#include "devices/pad_param_record.h"
#include "devices/usb_device.h"
#include "hid/command_report.h"
#include "profiles/basic_profile_data.h"

namespace vorlin {

class CHalvexMousePadDevice : public CHalvexUSBDevice {
  Q_OBJECT

 public:
  CHalvexMousePadDevice(const ProductEntry& product, ProfileFolders folders);
  ~CHalvexMousePadDevice() override;

  CBasicProfiledata& ProfileData() override { return profile_; }

  // Once the link is open: the device information and the lighting record, then the profile's
  // lighting on top, the view, and the lighting worker.
  void ReadDeviceState() override;
  // The pad asked to be read again (0x0401, 500 ms earlier).
  void ResyncFromDevice() override;
  // Reads the current profile number and its record into the kept copy, and the same lighting
  // into the light words; clears the link's lighting hold. `profile` (may be null) receives the
  // profile number read, or the kept one when nothing could be read. 1 on success and on a closed
  // link (nothing changes then); the link's result code when a read failed (nothing changes).
  int ReadParamRecord(int* profile);
  // Sends the kept record for `profile` (0; the other values are ignored): BeginConfig,
  // WriteParams 21 bytes at profile x 64, EndConfig. The kept copy is not changed. Returns the
  // WriteParams result: 1 when the pad took it, 0 on a closed link (nothing is sent), -201 for a
  // profile whose record lies outside the parameter area.
  int WriteParamRecord(int profile, int value) override;
  // Reloads the current profile's entry and applies its lighting.
  int LoadProfile() override;
  // The profile's light settings into the light words (the base's setter) and the kept record,
  // its per-key light list and selected custom effect into the lighting worker's lists.
  int ApplyLighting() override;
  // The profile document changed outside the device: reload, apply, save.
  void ReloadProfile() override;
  // The base's name lists (the effect names of "default_light.json" at the pad's light index and
  // the custom effect names of the light configuration), and the effect code list from the same
  // modes. A document without a list for the index leaves the lists the page had.
  void LoadNameLists() override;

  const PadParamRecord& Record() const { return record_; }
  const std::array<uint8_t, kDeviceInfoSize>& DeviceInfo() const { return device_info_; }

 protected:
  std::optional<LightingDevice> LightingKind() const override { return LightingDevice::kMousePad; }
  int ResyncDelayMs() const override { return 500; }

 private:
  // ReadParamRecord without touching the lighting hold.
  int ReadRecordFromDevice(int* profile);

  CBasicProfiledata profile_;
  PadParamRecord record_;
  std::array<uint8_t, kDeviceInfoSize> device_info_{};
};

}  // namespace vorlin
