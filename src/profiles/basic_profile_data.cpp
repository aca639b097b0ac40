#include "profiles/basic_profile_data.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "profiles/json_access.h"
#include "profiles/json_file_io.h"
#include "profiles/light_record_codec.h"
#include "profiles/profile_folders.h"
#include "profiles/settings_record_codec.h"

namespace vorlin {
namespace {

bool SameFile(const std::string& a, const std::string& b) {
  if (a == b) return true;
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
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
  if (!SameFile(path, default_path_)) {
    MutableElement(MutableMember(document, "Device"), device_index()) = entry;
    JsonFileIo::WriteJsonFile(path, document);
  }
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
  return light_config_;
}

bool CBasicProfiledata::Save() {
  return SaveDevice(entry_, profile_path_);
}

bool CBasicProfiledata::SaveDevice(const Json::Value& entry, const std::string& path) {
  if (Member(entry, "KeyList").isNull()) return false;
  Json::Value document = JsonFileIo::ReadJsonFile(path);
  MutableElement(MutableMember(document, "Device"), device_index()) = entry;
  return JsonFileIo::WriteJsonFile(path, document);
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

std::string CBasicProfiledata::LightEffectPath(const std::string& guid) const {
  if (light_config_path_.empty()) return {};
  const std::filesystem::path folder = std::filesystem::path(light_config_path_).parent_path();
  return (folder / (guid + ".light")).string();
}

std::vector<LightEffectStep> CBasicProfiledata::GetLightEffect() {
  light_effect_.clear();
  if (light_config_.isNull()) return light_effect_;
  const Json::Value& effect =
      Element(Element(Member(light_config_, "LightInfo"), device_index()), light_settings_.mode);
  const std::string guid = ReadString(effect, "Guid");
  // The Guid names a file beside the configuration; one that would lead out of the folder is
  // not a name of ours.
  if (!IsPlainFileName(guid + ".light")) return light_effect_;
  Json::Value document;
  if (const std::string beside = LightEffectPath(guid); !beside.empty())
    document = JsonFileIo::ReadJsonFile(beside);
  // A bare name is looked up in the current folder, where effect files have always been found.
  if (document.isNull()) document = JsonFileIo::ReadJsonFile(guid + ".light");
  if (document.isNull()) return light_effect_;
  light_effect_ = ReadLightEffectSteps(document);
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
