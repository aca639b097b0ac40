#include "profiles/profile_list_document.h"

#include <algorithm>
#include <array>
#include <set>

#include "profiles/json_access.h"
#include "profiles/profile_folders.h"
#include "profiles/profile_list_names.h"

namespace vorlin {
namespace {

constexpr char kListKey[] = "profilelist";
constexpr char kSelectKey[] = "profileselect";
constexpr char kNameKey[] = "profilename";
constexpr char kIdKey[] = "profileUUID";
constexpr char kLinkKey[] = "profileislink";
constexpr char kLinkNameKey[] = "profilelinkmame";
constexpr char kDeviceKey[] = "Device";

// The device entry keys any kind uses; which of them a kind's entry carries tells the kinds apart.
constexpr std::array<const char*, 12> kDeviceEntryKeys = {
    "LightInfo",       "LightList",     "KeyList",          "AudioLightInfo",
    "CustomLightMode", "SystemStages",  "ReportStages",     "DPIStages",
    "SystemSetStages", "EQHzValueInfo", "CustomEQNameInfo", "CustomEQHzValueInfo"};

bool SameShape(const Json::Value& a, const Json::Value& b) {
  if (a.isObject() || b.isObject()) return a.isObject() && b.isObject();
  if (a.isArray() || b.isArray()) return a.isArray() && b.isArray();
  return !a.isNull() && !b.isNull();
}

}  // namespace

std::vector<std::string> ProfileListContents::Names() const {
  std::vector<std::string> names;
  names.reserve(profiles.size());
  for (const ProfileEntry& entry : profiles) names.push_back(entry.name);
  return names;
}

std::optional<ProfileListContents> ParseProfileList(const Json::Value& document) {
  const Json::Value& list = Member(document, kListKey);
  if (!list.isArray()) return std::nullopt;
  const std::optional<int> wanted = AsInt(Member(document, kSelectKey));

  ProfileListContents contents;
  std::set<std::string> ids;
  std::vector<size_t> unnamed;
  for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
    const Json::Value& item = list[i];
    const std::string id = ReadString(item, kIdKey);
    if (!IsPlainFileName(id) || !ids.insert(id).second) continue;
    if (wanted && *wanted == static_cast<int>(i))
      contents.selected = static_cast<int>(contents.profiles.size());
    std::string name = CleanProfileName(ReadString(item, kNameKey));
    if (IsBlankProfileName(name)) unnamed.push_back(contents.profiles.size());
    contents.profiles.push_back(ProfileEntry{std::move(name), id});
  }
  if (contents.profiles.empty()) return std::nullopt;
  for (size_t index : unnamed) contents.profiles[index].name = NewProfileName(contents.Names());
  return contents;
}

Json::Value MakeProfileListDocument(const ProfileListContents& contents) {
  Json::Value document(Json::objectValue);
  Json::Value& list = document[kListKey] = Json::Value(Json::arrayValue);
  for (const ProfileEntry& entry : contents.profiles) {
    Json::Value item(Json::objectValue);
    item[kNameKey] = entry.name;
    item[kIdKey] = entry.id;
    item[kLinkKey] = 0;
    item[kLinkNameKey] = "";
    list.append(std::move(item));
  }
  document[kSelectKey] = contents.selected;
  return document;
}

std::optional<ProfileEntry> ProfileEntryOfDocument(const Json::Value& document,
                                                   const std::string& file_id) {
  if (!IsPlainFileName(file_id) || ReadString(document, kIdKey) != file_id ||
      !Element(Member(document, kDeviceKey), 0).isObject()) {
    return std::nullopt;
  }
  return ProfileEntry{CleanProfileName(ReadString(document, kNameKey)), file_id};
}

Json::Value WithProfileIdentity(Json::Value document, const ProfileEntry& entry) {
  MutableMember(document, kNameKey) = entry.name;
  MutableMember(document, kIdKey) = entry.id;
  return document;
}

bool IsImportableProfileDocument(const Json::Value& document, const Json::Value& factory_document) {
  if (!Member(document, kNameKey).isString() || !Member(document, kIdKey).isString()) return false;
  const Json::Value& entry = Element(Member(document, kDeviceKey), 0);
  if (!entry.isObject()) return false;
  const Json::Value& factory = Element(Member(factory_document, kDeviceKey), 0);
  if (!factory.isObject()) return Member(entry, "KeyList").isArray();
  return std::all_of(kDeviceEntryKeys.begin(), kDeviceEntryKeys.end(), [&](const char* key) {
    const Json::Value& expected = Member(factory, key);
    const Json::Value& present = Member(entry, key);
    return expected.isNull() ? present.isNull() : SameShape(expected, present);
  });
}

}  // namespace vorlin
