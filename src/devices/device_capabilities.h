#pragma once

// What a page may do with its device, one small interface per capability. The page's
// DeviceClient answers them on the UI thread from the device's last view (device_view.h) and
// carries every change to the device object as one command, which the device runs on its own
// thread in the order given: store into the profile, save the document, write to the device.
// The outcome comes back as a DeviceReport.
//
// Panels see only the capability they need (and the page's services, ui/page_services.h), so
// they are tested with stand-ins and serve every device that offers the capability.

#include <cstdint>
#include <string>
#include <vector>

#include "profiles/device_settings.h"
#include "profiles/key_assignment.h"
#include "profiles/light_records.h"

namespace vorlin {

// The device kinds of key assignment: the keyboard's keys and the mouse's buttons.
inline constexpr int kKeySetKeyboard = 1;
inline constexpr int kKeySetMouse = 2;

// Every device: its lighting.
class LightingControl {
 public:
  virtual ~LightingControl() = default;
  virtual LightSettings Lighting() const = 0;
  virtual AudioLightSettings AudioLighting() const = 0;
  // The settings become the device's lighting: kept in the profile, previewed and written.
  // `leave_sync`: the device first leaves the synchronised lighting of all devices.
  virtual void SetLighting(const LightSettings& settings, bool leave_sync) = 0;
  // The music lighting's settings: kept in the profile and previewed.
  virtual void SetAudioLighting(const AudioLightSettings& settings) = 0;
};

// Every device: its profiles.
class ProfileControl {
 public:
  virtual ~ProfileControl() = default;
  // Profile `profile_id` (document `document_path`) is current: the device loads it and writes
  // every setting, macros included.
  virtual void ApplyProfile(const std::string& profile_id, const std::string& document_path) = 0;
  // The current profile takes the factory settings, which the device then gets whole.
  virtual void ResetToFactory() = 0;
};

// The mouse's DPI stages, polling rate, sensor and pointer settings.
class MouseSettingsControl {
 public:
  virtual ~MouseSettingsControl() = default;
  // The mouse's device information record as last read (all zero before the first read).
  virtual std::vector<uint8_t> DeviceInfo() const = 0;
  virtual std::vector<DpiStage> DpiStages() const = 0;
  virtual int CurrentDpiStage() const = 0;
  virtual MouseSystemSettings SystemSettings() const = 0;
  // Changes that belong together; they take effect with CommitSettings.
  virtual void StoreDpiStages(const std::vector<DpiStage>& stages) = 0;
  virtual void StoreCurrentDpiStage(int stage) = 0;
  virtual void StoreSystemSettings(const MouseSystemSettings& settings) = 0;
  // What was stored goes into the profile document and, with `write`, to the mouse.
  virtual void CommitSettings(bool write) = 0;
};

// Button and key functions.
class KeyAssignmentControl {
 public:
  virtual ~KeyAssignmentControl() = default;
  // kKeySetKeyboard or kKeySetMouse.
  virtual int DeviceKind() const = 0;
  virtual std::vector<KeyAssignmentPair> KeyList() const = 0;
  virtual std::vector<std::string> MacroNames() const = 0;
  // Whether the current profile's document can be read; keys are not edited without it.
  virtual bool ProfileReadable() const = 0;
  // Key `index` gets `pair`, kept in the profile at once; the device gets it with
  // ApplyKeyAssignments.
  virtual void SetKeyEntry(int index, const KeyAssignmentPair& pair) = 0;
  // The macros the keys call and the key table go to the device (DeviceReport kKeys).
  virtual void ApplyKeyAssignments() = 0;
};

// What the macro panel's changes mean for the keys that play macros.
class MacroKeysControl {
 public:
  virtual ~MacroKeysControl() = default;
  // The current profile's document (the panel renumbers the other profiles' macro calls).
  virtual std::string CurrentProfileDocument() const = 0;
  // Whether a key of the current profile plays macro `number`.
  virtual bool KeysUseMacro(int number) const = 0;
  // Macro `number` is gone: the keys playing later macros follow their new numbers, keys playing
  // it get their factory function; the keys are stored and written.
  virtual void MacroRemoved(int number) = 0;
  // The macro names in list order after any change of the list.
  virtual void SetMacroNames(const std::vector<std::string>& names) = 0;
};

// The mouse's recoil patterns.
class RecoilControl {
 public:
  virtual ~RecoilControl() = default;
  // The four pattern files go to the mouse (DeviceReport kRecoil).
  virtual void DownloadShootData() = 0;
};

}  // namespace vorlin
