#pragma once

#include <json/value.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "profiles/key_assignment.h"
#include "profiles/light_records.h"

namespace vorlin {

// The settings of a device's current profile. The device entry ("Device"[device index] of the
// profile document) is held in memory as the truth; getters turn parts of it into records (and
// cache them), setters write records back into it, and Save writes it into the profile document.
// A profile document that lacks the entry is seeded from the kind's factory document.
//
// One object per device object, used from one thread at a time. The mouse pad uses this class
// itself; the mouse, keyboard and headset add their own settings in subclasses.
class CBasicProfiledata {
 public:
  static constexpr std::size_t kDeviceKeyTableBytes = 512;
  // Indices that address arrays of a document (device index, groups, presets) stay below this,
  // so a wild index cannot make a document grow to millions of nulls.
  static constexpr int kMaxListIndex = 1024;

  CBasicProfiledata() = default;
  virtual ~CBasicProfiledata() = default;
  CBasicProfiledata(const CBasicProfiledata&) = default;
  CBasicProfiledata& operator=(const CBasicProfiledata&) = default;

  // Paths. An empty profile or default path is ignored.
  void SetProfilePath(const std::string& path);
  const std::string& GetProfilePath() const { return profile_path_; }
  void SetDefaultPath(const std::string& path);
  const std::string& GetDefaultPath() const { return default_path_; }
  void SetLightConfigPath(const std::string& path) { light_config_path_ = path; }
  const std::string& GetLightConfigPath() const { return light_config_path_; }
  // Ignored outside 0..kMaxListIndex - 1.
  void SetDeviceIndex(int index);
  int GetDeviceIndex() const { return device_index_; }

  // Loads the device entry of the document at `path` as the current entry and returns a copy.
  // When the document lacks the entry, it is taken from the default document and the document
  // is written with it (created when missing; its other keys stay). The default document itself
  // is never written. A file that cannot be read or parsed, or whose content of the wrong shape
  // would be replaced, is first kept beside it as "<name>.unreadable-<time stamp>"; when that
  // fails it is not written at all.
  Json::Value LoadDevice(const std::string& path);
  // The same for the other-profile entry, used to change a profile that is not current.
  Json::Value LoadOtherDevice(const std::string& path);
  // Loads the light configuration document (custom light effects) and returns a copy. When the
  // document at `path` is missing or unreadable, the factory configuration of the same file name
  // (beside the default document) is loaded instead; the user's file is never written.
  Json::Value LoadLightConfig(const std::string& path);

  // Saving. Each returns true when the document was written.
  // SaveDevice re-reads the document, so its other elements survive, puts `entry` at the device
  // index and writes it, unless the entry has no "KeyList" (an incomplete entry never
  // overwrites a profile). A document that has become unreadable is kept as LoadDevice keeps it.
  virtual bool Save();
  virtual bool SaveDevice(const Json::Value& entry, const std::string& path);
  virtual bool SaveOther(const std::string& path);
  virtual bool WriteDocument(const Json::Value& document, const std::string& path);

  const Json::Value& GetDeviceEntry() const { return entry_; }
  const Json::Value& GetOtherDeviceEntry() const { return other_entry_; }
  // Makes an entry already in memory the current one (an imported document, a test).
  void AdoptDeviceEntry(Json::Value entry) { entry_ = std::move(entry); }
  // A configuration without a folder of its own: its effect files are looked for beside the
  // light configuration path, then among the factory documents.
  void AdoptLightConfig(Json::Value config);

  // Lighting.
  LightSettings GetLightSettings();
  void SetLightSettings(uint32_t word0, uint32_t word1, uint32_t word2, uint16_t word3);
  void SetLightSettings(const LightSettings& settings);
  AudioLightSettings GetAudioLightSettings();
  void SetAudioLightSettings(uint32_t word0, uint32_t word1, uint32_t word2);
  void SetAudioLightSettings(const AudioLightSettings& settings);
  std::vector<LightListEntry> GetLightList();
  // The steps of the custom effect selected by the cached light settings' mode, from the light
  // effect file (Guid + ".light") named by the light configuration. The file is looked for in the
  // folder of the configuration that named it, then in the folder of the default document.
  // Empty when anything is missing.
  std::vector<LightEffectStep> GetLightEffect();
  // The steps of custom effect `position` of the light configuration's list `light_index`;
  // empty when the configuration, the entry or its effect file is missing.
  std::vector<LightEffectStep> LightEffectAt(Json::ArrayIndex light_index,
                                             Json::ArrayIndex position);

  // Keys.
  std::vector<KeyAssignmentPair> GetKeyList();
  void SetKeyList(const std::vector<KeyAssignmentPair>& pairs);
  std::vector<KeyAssignmentPair> GetOtherKeyList();
  void SetOtherKeyList(const std::vector<KeyAssignmentPair>& pairs);
  // Key position → row of the device key table (rows outside the table mean "no slot").
  void SetKeyIndexMap(const std::map<int, int>& map) { key_index_map_ = map; }
  // The device's current key table, 3 bytes per row; shorter input is padded with zeros.
  void SetDeviceKeyTable(std::span<const uint8_t> table);
  // The key list with the functions the device currently holds laid over it.
  std::vector<KeyAssignmentPair> GetDeviceKeyList();

 protected:
  Json::Value& entry() { return entry_; }
  const Json::Value& entry_value() const { return entry_; }
  Json::ArrayIndex device_index() const { return static_cast<Json::ArrayIndex>(device_index_); }

 private:
  Json::Value LoadEntry(const std::string& path);
  // The folders a light effect file is looked for in, in order.
  std::vector<std::string> LightEffectFolders() const;

  std::string profile_path_;
  std::string default_path_;
  LightSettings light_settings_;
  AudioLightSettings audio_light_settings_;
  std::vector<LightListEntry> light_list_;
  Json::Value entry_;
  Json::Value other_entry_;
  std::string light_config_path_;
  // The folder of the configuration document last loaded (the user's or the factory one).
  std::string light_config_folder_;
  std::vector<LightEffectStep> light_effect_;
  Json::Value light_config_;
  std::vector<KeyAssignmentPair> key_list_;
  std::vector<KeyAssignmentPair> other_key_list_;
  std::vector<KeyAssignmentPair> device_key_list_;
  std::map<int, int> key_index_map_;
  std::array<uint8_t, kDeviceKeyTableBytes> device_key_table_{};
  int device_index_ = 0;
};

}  // namespace vorlin
