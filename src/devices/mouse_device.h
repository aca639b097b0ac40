#pragma once

// The mouse (by cable, or through its 2.4 GHz receiver): its page and its logic. It reads the
// mouse's button layout and settings, writes DPI stages, polling rate, sensor settings and
// lighting in one parameter record (mouse_param_record.h), writes button assignments, macros and
// recoil (shoot) data, follows the mouse's event reports, shows its battery and connection on the
// power panel and previews its lighting.
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
#include "devices/mouse_page_hosts.h"
#include "key_set/key_set_control_ui.h"
#include "macro/macro_control_ui.h"
#include "shoot/shoot_control_ui.h"
#include "devices/mouse_param_record.h"
#include "devices/mouse_power_view.h"
#include "devices/mouse_reactive_step.h"
#include "devices/usb_device.h"
#include "profiles/mouse_profile_data.h"

class QLabel;

namespace vorlin {

class KeyMarkTarget;
class MouseSettingsPanel;
class KeyAssignmentFlow;
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
  static constexpr int kFirmwareNoticeMessage = 3332;

  explicit CHalvexMouseDevice(QWidget* parent = nullptr);
  ~CHalvexMouseDevice() override;

  CBasicProfiledata& ProfileData() override { return profile_; }
  CMouseProfiledata& MouseProfile() { return profile_; }

  // ---- Reading the mouse ----

  // The device tables, the profile, the parameter record; then the page and the preview.
  void ReadDeviceState() override;
  // The parameter record again, then the page (the mouse asked for it).
  void ResyncFromDevice() override;
  // Reads the current profile number and its record into the kept copy, the light state and
  // the profile (which is saved). 1 when read; 0 when not (nothing changes then).
  int ReadParamRecord(int* profile = nullptr);
  // Battery and connection on the power panel.
  void PollStatus() override;
  // 1 when the link is open, the mouse is on the receiver and answers through it; else 0.
  int ProbeLink() override;

  // ---- Writing the mouse ----

  // The kept record with the profile's lighting, DPI stages and sensor settings, written at
  // profile x 128. 1 when written; 0 when the link is closed, a link check fails or the profile
  // has no record.
  int WriteParamRecord(int profile, int value, int, int, int) override;
  // The key table of page `page` from the factory table and the key list. 1 after sending; 0 when
  // the link is not open, a link check fails, the device information cannot be read or the
  // factory table has not been read.
  int StoreKeyAssignments(int page, const std::vector<KeyAssignmentPair>& keys);
  int StoreKeyAssignments() override { return StoreKeyAssignments(0, key_list_); }
  // The macros the buttons call, in the order their image positions follow.
  std::vector<int> ListUsedMacros() const override;
  // 0: written or nothing to write; -1: not written (link, image); k > 0: the image is k
  // four-byte events too large for the mouse's macro memory.
  int DownloadMacros(const std::vector<int>& macros);
  int DownloadMacros() override { return DownloadMacros(ListUsedMacros()); }
  // The four recoil patterns ("ShootData_0.Shoot" to "ShootData_3.Shoot"; a missing file gives an
  // empty pattern). 1 when written; 0 when the link is closed or a link check fails.
  int DownloadShootData();

  // ---- Profile ----

  int LoadProfile() override;
  void ReloadProfile() override;
  int ApplyLighting() override;
  void RefreshPage() override;
  void DropMissingMacroKeys() override;
  void LoadNameLists() override;

  // ---- The page ----

  // Button `index` is selected for editing: it is marked and the key-assignment panel shows it.
  void MarkKeys(int index) override;
  // Every button's label and the name of its function, on the buttons and in the key list.
  void ShowKeyInformation();
  // The buttons whose function differs from the factory's show the set mark.
  void ShowChangedKeys();
  bool HandleNotification(const Notification& notification) override;
  CKeySetControlUI* KeyPanel() const { return key_panel_; }
  KeyAssignmentFlow* KeyFlow() const { return key_flow_.get(); }
  CShootControlUI* ShootPanel() const { return shoot_panel_; }
  CMacroControlUI* MacroPanel() const { return macro_panel_; }
  // Macro `number` was deleted: the keys that played a later macro play it under its new
  // number, keys that played it get their factory function; the keys are stored and written.
  void MacroRemoved(int number);
  // The macro list changed: the key panel lists these names and the buttons' names follow.
  void SetMacroNames(const std::vector<std::string>& names);
  // The keys wait to be applied (the key panel's apply button is on).
  void MarkKeyChangesPending();
  // The next LoadProfile takes the profile's own key list, not the device's (the profile bar
  // switched the profile).
  void TakeProfileKeyListOnce() { take_profile_keys_ = true; }

  // ---- State ----

  const std::array<uint8_t, kDeviceInfoSize>& DeviceInfo() const { return device_info_; }
  const std::array<uint8_t, kKeyTableSize>& DefaultKeyTable() const { return default_key_table_; }
  const std::array<uint8_t, kKeyTableSize>& CurrentKeyTable() const { return key_table_; }
  const ButtonSlotMap& SlotMap() const { return slot_map_; }
  const std::vector<KeyAssignmentPair>& KeyList() const { return key_list_; }
  void SetKeyList(const std::vector<KeyAssignmentPair>& keys) { key_list_ = keys; }
  // Key `index`'s entry of the key list becomes `pair`; the profile keeps it at once.
  void SetKeyEntry(int index, const KeyAssignmentPair& pair);
  // The settings page's changes: kept and stored into the profile (not yet saved or written).
  void StoreDpiStages(const std::vector<DpiStage>& stages);
  void StoreCurrentDpiStage(int stage);
  void StoreSystemSettings(const MouseSystemSettings& settings);
  const MouseParamRecord& Record() const { return record_; }
  const MouseLightState& LightState() const { return light_state_; }
  const std::vector<DpiStage>& DpiStages() const { return dpi_stages_; }
  int CurrentDpiStage() const { return current_dpi_stage_; }
  const MouseSystemSettings& SystemSettings() const { return mouse_settings_; }
  const std::vector<std::string>& MacroNames() const { return macro_names_; }
  const std::array<uint8_t, kPowerStatusSize>& LastStatus() const { return status_; }
  bool PreviewWorkerRunning() const;

 signals:
  // The mouse's firmware must be updated (message 3332): its product id and version number.
  void firmwareNotice(int productId, int versionNumber);
  // The page has been refreshed from the mouse's state.
  void pageRefreshed();

 protected:
  bool BuildPage() override;
  std::optional<LightingDevice> LightingKind() const override { return LightingDevice::kMouse; }
  int ResyncDelayMs() const override { return 50; }
  void OnDeviceEvent(uint16_t code, std::span<const uint8_t> report) override;

 private:
  // The link check: open, and through the receiver answering.
  bool LinkCheck();
  // Only through the receiver: the probe must succeed (by cable nothing is sent).
  bool ReceiverCheck();
  bool ReadDeviceTables();
  void CheckFirmware();
  void StartPreview();
  void TakeProfileSettings();
  void ShowStatus();
  void OnSettingEvent(uint16_t code);
  void OnClick();
  std::string UserFile(const std::string& name) const;
  void BuildKeyPanel();
  void BuildShootPanel();
  void BuildMacroPanel();
  void ShowMacroNames();
  void BuildSettingsPanels();
  bool KeyUnchanged(int index) const;
  std::vector<KeyMarkTarget*> MarkTargets() const;
  // A panel built from a layout file; nullptr (logged) when the layout cannot be built.
  QWidget* SubLayoutPanel(const char* layout, const char* name);
  // Starts (on) or stops the input capture that feeds the key edit of the key-assignment panel.
  void CaptureKeys(bool on);
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
  bool take_profile_keys_ = false;

  // The preview: the worker steps the effect; the reactive effect's lights belong to its thread.
  std::unique_ptr<LightingWorker> preview_;
  ReactiveLights reactive_;
  std::minstd_rand random_;
  std::atomic<bool> click_pending_{false};
  std::atomic<bool> reactive_reset_{false};

  // The panels of the page and their side of the mouse.
  MouseKeyAssignmentHost key_host_{*this};
  MouseShootHost shoot_host_{*this};
  MouseMacroHost macro_host_{*this};
  MouseSettingsPageHost settings_host_{*this};
  std::unique_ptr<MouseSettingsPanel> settings_panel_;
  QPointer<CKeySetControlUI> key_panel_;
  std::unique_ptr<KeyAssignmentFlow> key_flow_;
  QPointer<QLabel> capture_tip_;
  QPointer<CShootControlUI> shoot_panel_;
  QPointer<CMacroControlUI> macro_panel_;
};

}  // namespace vorlin
