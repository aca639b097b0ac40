#pragma once

// The mouse (by cable, or through its 2.4 GHz receiver). It reads the mouse's button layout and
// settings, writes DPI stages, polling rate, sensor settings and lighting in one parameter record
// (mouse_param_record.h), writes button assignments, macros and recoil (shoot) data, follows the
// mouse's event reports, reads its battery and connection, and previews its lighting.
//
// Only the mouse's first profile slot is used: key tables go to page 0, the record to profile 0.
// Every step that talks to the mouse first checks the link (the link check): by cable the link
// must be open; through the receiver it must be open and the wireless probe must succeed.

#include <array>
#include <atomic>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "devices/device_image.h"
#include "devices/mouse_key_tables.h"
#include "devices/mouse_param_record.h"
#include "devices/mouse_power_view.h"
#include "devices/mouse_reactive_step.h"
#include "devices/usb_device.h"
#include "profiles/mouse_profile_data.h"

namespace vorlin {

class LightingWorker;

class CHalvexMouseDevice : public CHalvexUSBDevice {
  Q_OBJECT

 public:
  static constexpr size_t kDeviceInfoSize = 34;
  static constexpr size_t kKeyTableSize = 512;
  // The mouse whose firmware older than kFirmwareNoticeBelow must be updated.
  static constexpr uint16_t kFirmwareVendorId = 0x320F;
  static constexpr uint16_t kFirmwareProductId = 0x225E;
  static constexpr uint16_t kFirmwareNoticeBelow = 0x0108;

  CHalvexMouseDevice(const ProductEntry& product, ProfileFolders folders);
  ~CHalvexMouseDevice() override;

  CBasicProfiledata& ProfileData() override { return profile_; }
  CMouseProfiledata& MouseProfile() { return profile_; }

  // ---- Reading the mouse ----

  // The device tables, the profile, the parameter record; then the view and the preview. Key
  // changes that could not be written before are written now.
  void ReadDeviceState() override;
  // The parameter record again (the mouse asked for it).
  void ResyncFromDevice() override;
  // Reads the current profile number and its record into the kept copy, the light state and
  // the profile (which is saved). 1 when read; 0 when not (nothing changes then).
  int ReadParamRecord(int* profile = nullptr);
  // Battery and connection, for the power panel.
  void PollStatus() override;
  // 1 when the link is open, the mouse is on the receiver and answers through it; else 0.
  int ProbeLink() override;

  // ---- Writing the mouse ----

  // The kept record with the profile's lighting, DPI stages and sensor settings, written at
  // profile x 128. 1 when the mouse took it; 0 when the link is closed or a link check fails;
  // the link's result when the mouse refused it or answered wrongly; kLinkBadArgument when the
  // profile has no record.
  int WriteParamRecord(int profile, int value) override;
  // The key table of page `page` from the factory table and the key list. 1 when the mouse took
  // it; 0 when the link is not open, a link check fails, the device information cannot be read,
  // the factory table has not been read or the mouse refused the table.
  int StoreKeyAssignments(int page, const std::vector<KeyAssignmentPair>& keys);
  int StoreKeyAssignments() { return StoreKeyAssignments(0, key_list_); }
  // The same with the link's result (1 written), kLinkBadArgument when the table cannot be built.
  int WriteKeyTable(int page, const std::vector<KeyAssignmentPair>& keys);
  // The macros the buttons call, in the order their image positions follow.
  std::vector<int> ListUsedMacros() const;
  // 0: written or nothing to write; -1: not written (link, image); k > 0: the image is k
  // four-byte events too large for the mouse's macro memory. `link_result` gets the result of
  // the write (1 written or nothing to write, kWriteDoesNotFit, else the link's failure).
  int DownloadMacros(const std::vector<int>& macros, int* link_result = nullptr);
  MacroKeyWrite WriteMacrosAndKeys() override;
  // The four recoil patterns ("ShootData_0.Shoot" to "ShootData_3.Shoot"; a missing file gives an
  // empty pattern). 1 when written; 0 when the link is closed or a link check fails; the link's
  // result when the mouse refused them or answered wrongly.
  int DownloadShootData();

  // ---- User actions ----

  // Button `index` gets `pair` (kept in the profile at once; written with ApplyKeyAssignments).
  void SetKeyEntry(int index, const KeyAssignmentPair& pair);
  // The macros the keys call and the key table, reported as kKeys. When the mouse cannot be
  // reached the keys stay pending and are written when it is back.
  void ApplyKeyAssignments();
  // The settings page's changes, kept until CommitSettings.
  void StoreDpiStages(const std::vector<DpiStage>& stages);
  void StoreCurrentDpiStage(int stage);
  void StoreSystemSettings(const MouseSystemSettings& settings);
  // The stored settings into the profile document and, with `write`, to the mouse.
  void CommitSettings(bool write);
  // Macro `number` was deleted: the keys that played a later macro play it under its new
  // number, keys that played it get their factory function; the keys are stored and written.
  void MacroRemoved(int number);
  // The macro list changed: the key panel lists these names.
  void SetMacroNames(const std::vector<std::string>& names);
  // The recoil patterns to the mouse, reported as kRecoil.
  void SendShootData();

  // ---- Profile ----

  int LoadProfile() override;
  void ReloadProfile() override;
  int ApplyLighting() override;
  void DropMissingMacroKeys() override;
  void LoadNameLists() override;

  // ---- State ----

  const std::array<uint8_t, kDeviceInfoSize>& DeviceInfo() const { return device_info_; }
  const std::array<uint8_t, kKeyTableSize>& DefaultKeyTable() const { return default_key_table_; }
  const std::array<uint8_t, kKeyTableSize>& CurrentKeyTable() const { return key_table_; }
  const ButtonSlotMap& SlotMap() const { return slot_map_; }
  const std::vector<KeyAssignmentPair>& KeyList() const { return key_list_; }
  const MouseParamRecord& Record() const { return record_; }
  const MouseLightState& LightState() const { return light_state_; }
  const std::vector<DpiStage>& DpiStages() const { return dpi_stages_; }
  int CurrentDpiStage() const { return current_dpi_stage_; }
  const MouseSystemSettings& SystemSettings() const { return mouse_settings_; }
  const std::vector<std::string>& MacroNames() const { return macro_names_; }
  const std::array<uint8_t, kPowerStatusSize>& LastStatus() const { return status_; }
  bool KeysPending() const { return keys_pending_; }
  bool PreviewWorkerRunning() const;

 protected:
  std::optional<LightingDevice> LightingKind() const override { return LightingDevice::kMouse; }
  int ResyncDelayMs() const override { return 50; }
  void OnDeviceEvent(uint16_t code, std::span<const uint8_t> report) override;
  void FillView(DeviceView& view) const override;
  void PrepareProfileSwitch() override { take_profile_keys_ = true; }

 private:
  // The link check: open, and through the receiver answering.
  bool LinkCheck();
  // Only through the receiver: the probe must succeed (by cable nothing is sent).
  bool ReceiverCheck();
  bool ReadDeviceTables();
  // Notes whether the profile's settings record waits for the mouse (here and in the mark).
  void SetSettingsPending(bool pending);
  // Sends a settings record in one configuration exchange; the link result.
  int SendParamRecord(const MouseParamRecord::Bytes& bytes, uint16_t offset);
  void CheckFirmware();
  void StartPreview();
  void TakeProfileSettings();
  void OnSettingEvent(uint16_t code);
  void OnClick();
  std::string UserFile(const std::string& name) const;
  int MacroCount() const;

  CMouseProfiledata profile_;
  std::array<uint8_t, kDeviceInfoSize> device_info_{};
  std::array<uint8_t, kKeyTableSize> default_key_table_{};
  std::array<uint8_t, kKeyTableSize> key_table_{};
  bool tables_read_ = false;
  ButtonSlotMap slot_map_;
  std::vector<KeyAssignmentPair> key_list_;
  MouseParamRecord record_;
  MouseLightState light_state_;
  std::vector<DpiStage> dpi_stages_;
  int current_dpi_stage_ = 0;
  MouseSystemSettings mouse_settings_;
  std::vector<std::string> macro_names_;
  std::array<uint8_t, kPowerStatusSize> status_{};
  bool status_read_ = false;
  bool take_profile_keys_ = false;
  bool keys_pending_ = false;
  // The profile's settings record (lighting, DPI stages, sensor settings) did not reach the mouse
  // when it was last written (the mouse was away, or the write failed): the next reading of the
  // mouse writes them to it instead of taking its older values into the profile. Kept across
  // runs as the file "settings.pending" in the mouse's folder.
  bool settings_pending_ = false;

  // The preview: the worker steps the effect; the reactive effect's lights belong to its thread.
  std::unique_ptr<LightingWorker> preview_;
  ReactiveLights reactive_;
  std::minstd_rand random_;
  std::atomic<bool> click_pending_{false};
  std::atomic<bool> reactive_reset_{false};
};

}  // namespace vorlin
