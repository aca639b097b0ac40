#include "profiles/basic_profile_data.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/log.h"
#include "profiles/json_access.h"
#include "profiles/json_file_io.h"
#include "profiles/light_name_lists.h"
#include "profiles/light_record_codec.h"
#include "profiles/settings_record_codec.h"
#include "profiles/unreadable_document.h"

namespace vorlin {
namespace {

bool SameFile(const std::string& a, const std::string& b) {
  if (a == b) return true;
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
}

std::string FolderOf(const std::string& path) {
  return path.empty() ? std::string() : std::filesystem::path(path).parent_path().string();
}

// Puts `entry` at the device index of `document` (what was read from `path`) and writes it. A file
// whose content would be lost by that is kept beside it first; when it cannot be kept, nothing is
// written.
bool PutEntryAndWrite(Json::Value document, const Json::Value& entry, Json::ArrayIndex index,
                      const std::string& path) {
  if (ReplacingLosesContent(path, document, index)) {
    qCWarning(lcVorlin) << "profile document" << path.c_str()
                        << "cannot be read as a profile; keeping a copy before replacing it";
    if (KeepUnreadableDocument(path).empty()) return false;
  }
  MutableElement(MutableMember(document, "Device"), index) = entry;
  return JsonFileIo::WriteJsonFile(path, document);
}

}  // namespace

void CBasicProfiledata::SetProfilePath(const std::string& path) {
  if (!path.empty()) profile_path_ = path;
}

void CBasicProfiledata::SetDefaultPath(const std::string& path) {
  if (!path.empty()) default_path_ = path;
}

void CBasicProfiledata::SetDeviceIndex(int index) {
  if (index >= 0 && index < kMaxListIndex) device_index_ = index;
}

Json::Value CBasicProfiledata::LoadEntry(const std::string& path) {
  Json::Value document = JsonFileIo::ReadJsonFile(path);
  Json::Value entry = Element(Member(document, "Device"), device_index());
  // An entry that is not an object cannot hold any setting (and could never be saved, having no
  // "KeyList"), so it is treated like a missing one.
  if (entry.isObject()) return entry;

  const Json::Value factory = JsonFileIo::ReadJsonFile(default_path_);
  entry = Element(Member(factory, "Device"), device_index());
  if (!entry.isObject()) entry = Json::Value();
  // Restoring the factory settings loads the default document itself; that one is never
  // written, whatever it holds.
  if (!SameFile(path, default_path_)) PutEntryAndWrite(document, entry, device_index(), path);
  return entry;
}

Json::Value CBasicProfiledata::LoadDevice(const std::string& path) {
  entry_ = LoadEntry(path);
  return entry_;
}

Json::Value CBasicProfiledata::LoadOtherDevice(const std::string& path) {
  other_entry_ = LoadEntry(path);
  return other_entry_;
}

Json::Value CBasicProfiledata::LoadLightConfig(const std::string& path) {
  light_config_ = JsonFileIo::ReadJsonFile(path);
  light_config_folder_ = FolderOf(path);
  if (!light_config_.isNull() || path.empty()) return light_config_;
  // The user has no configuration of their own (or one that cannot be read, which stays as it
  // is: the program never writes it): the factory configuration of the same name applies.
  const std::string factory_folder = FolderOf(default_path_);
  if (factory_folder.empty()) return light_config_;
  const std::string factory =
      (std::filesystem::path(factory_folder) / std::filesystem::path(path).filename()).string();
  if (SameFile(factory, path)) return light_config_;
  std::error_code error;
  if (std::filesystem::exists(path, error))
    qCWarning(lcVorlin) << "light configuration" << path.c_str()
                        << "cannot be read; the factory configuration applies";
  light_config_ = JsonFileIo::ReadJsonFile(factory);
  if (!light_config_.isNull()) light_config_folder_ = factory_folder;
  return light_config_;
}

void CBasicProfiledata::AdoptLightConfig(Json::Value config) {
  light_config_ = std::move(config);
  light_config_folder_.clear();
}

bool CBasicProfiledata::Save() {
  return SaveDevice(entry_, profile_path_);
}

bool CBasicProfiledata::SaveDevice(const Json::Value& entry, const std::string& path) {
  if (Member(entry, "KeyList").isNull()) return false;
  return PutEntryAndWrite(JsonFileIo::ReadJsonFile(path), entry, device_index(), path);
}

bool CBasicProfiledata::SaveOther(const std::string& path) {
  return SaveDevice(other_entry_, path);
}

bool CBasicProfiledata::WriteDocument(const Json::Value& document, const std::string& path) {
  return JsonFileIo::WriteJsonFile(path, document);
}

LightSettings CBasicProfiledata::GetLightSettings() {
  light_settings_ = ReadLightInfo(Member(entry_, "LightInfo"));
  return light_settings_;
}

void CBasicProfiledata::SetLightSettings(uint32_t word0, uint32_t word1, uint32_t word2,
                                         uint16_t word3) {
  SetLightSettings(LightSettingsFromWords({word0, word1, word2, word3}));
}

void CBasicProfiledata::SetLightSettings(const LightSettings& settings) {
  light_settings_ = settings;
  WriteLightInfo(settings, MutableMember(entry_, "LightInfo"));
}

AudioLightSettings CBasicProfiledata::GetAudioLightSettings() {
  audio_light_settings_ = ReadAudioLightInfo(Member(entry_, "AudioLightInfo"));
  return audio_light_settings_;
}

void CBasicProfiledata::SetAudioLightSettings(uint32_t word0, uint32_t word1, uint32_t word2) {
  SetAudioLightSettings(AudioLightSettingsFromWords(word0, word1, word2));
}

void CBasicProfiledata::SetAudioLightSettings(const AudioLightSettings& settings) {
  audio_light_settings_ = settings;
  WriteAudioLightInfo(settings, MutableMember(entry_, "AudioLightInfo"));
}

std::vector<LightListEntry> CBasicProfiledata::GetLightList() {
  light_list_ = ReadLightList(Member(entry_, "LightList"));
  return light_list_;
}

std::vector<std::string> CBasicProfiledata::LightEffectFolders() const {
  std::vector<std::string> folders;
  const std::string config_folder =
      light_config_folder_.empty() ? FolderOf(light_config_path_) : light_config_folder_;
  if (!config_folder.empty()) folders.push_back(config_folder);
  const std::string factory_folder = FolderOf(default_path_);
  if (!factory_folder.empty() && (folders.empty() || !SameFile(folders[0], factory_folder)))
    folders.push_back(factory_folder);
  return folders;
}

std::vector<LightEffectStep> CBasicProfiledata::GetLightEffect() {
  return LightEffectAt(device_index(), light_settings_.mode);
}

std::vector<LightEffectStep> CBasicProfiledata::LightEffectAt(Json::ArrayIndex light_index,
                                                              Json::ArrayIndex position) {
  light_effect_.clear();
  if (light_config_.isNull()) return light_effect_;
  const std::string file =
      LightEffectFileName(CustomEffectGuid(light_config_, light_index, position));
  // A Guid that would lead out of the folder is not a name of ours.
  if (file.empty()) return light_effect_;
  // The file lies beside the configuration that names it, or among the factory documents; never
  // in whatever folder the program happened to be started from.
  for (const std::string& folder : LightEffectFolders()) {
    const Json::Value document = JsonFileIo::ReadJsonFile(std::filesystem::path(folder) / file);
    if (document.isNull()) continue;
    light_effect_ = ReadLightEffectSteps(document);
    break;
  }
  return light_effect_;
}

std::vector<KeyAssignmentPair> CBasicProfiledata::GetKeyList() {
  key_list_ = ReadKeyList(Member(entry_, "KeyList"));
  return key_list_;
}

void CBasicProfiledata::SetKeyList(const std::vector<KeyAssignmentPair>& pairs) {
  key_list_ = pairs;
  WriteKeyAssignments(pairs, MutableMember(entry_, "KeyList"));
}

std::vector<KeyAssignmentPair> CBasicProfiledata::GetOtherKeyList() {
  other_key_list_ = ReadKeyList(Member(other_entry_, "KeyList"));
  return other_key_list_;
}

void CBasicProfiledata::SetOtherKeyList(const std::vector<KeyAssignmentPair>& pairs) {
  other_key_list_ = pairs;
  WriteKeyAssignments(pairs, MutableMember(other_entry_, "KeyList"));
}

void CBasicProfiledata::SetDeviceKeyTable(std::span<const uint8_t> table) {
  device_key_table_.fill(0);
  std::copy_n(table.begin(), std::min(table.size(), device_key_table_.size()),
              device_key_table_.begin());
}

std::vector<KeyAssignmentPair> CBasicProfiledata::GetDeviceKeyList() {
  std::vector<KeyAssignmentPair> list = GetKeyList();
  const size_t positions = key_index_map_.size();
  for (size_t i = 0; i < positions && i < list.size(); ++i) {
    const auto found = key_index_map_.find(static_cast<int>(i));
    if (found == key_index_map_.end()) continue;
    // A row whose three bytes do not lie in the table is "no slot" (the mouse marks such
    // buttons 170, the keyboard 255); the key keeps its profile assignment.
    const int row = found->second;
    if (row < 0 || static_cast<size_t>(row) * 3 + 3 > device_key_table_.size()) continue;
    const size_t at = static_cast<size_t>(row) * 3;
    list[i].current.code = {device_key_table_[at], device_key_table_[at + 1],
                            device_key_table_[at + 2]};
  }
  device_key_list_ = list;
  return list;
}

}  // namespace vorlin
