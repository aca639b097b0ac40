#include "profiles/macro_documents.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/log.h"
#include "profiles/atomic_file_write.h"
#include "profiles/json_access.h"
#include "profiles/json_file_io.h"
#include "profiles/profile_folders.h"
#include "profiles/profile_list.h"
#include "profiles/profile_list_document.h"
#include "profiles/profile_list_names.h"
#include "profiles/unreadable_document.h"

namespace vorlin {
namespace {

constexpr char kMacroInfo[] = "MacroInfo";
constexpr char kMacroName[] = "MacroName";
constexpr char kGuid[] = "Guid";
constexpr char kEvents[] = "Events";
constexpr char kVersion[] = "Version";

constexpr char kDevice[] = "Device";
constexpr char kKeyList[] = "KeyList";
constexpr char kAssignment[] = "Assignment";
constexpr char kDefaultAssignment[] = "DefaultAssignment";

bool IsMacroCall(uint8_t type) {
  return type == 0x70 || type == 0x71;
}

// A packed function code (type << 16 | first << 8 | second) after the removal of macro
// `removed`, or nothing when it stays as it is. `fallback` is the factory code.
std::optional<uint32_t> Renumbered(uint32_t packed, uint32_t fallback, int removed) {
  const uint8_t type = static_cast<uint8_t>(packed >> 16);
  const int number = static_cast<uint8_t>(packed >> 8);
  if (!IsMacroCall(type) || number < removed) return std::nullopt;
  if (number == removed) return fallback;
  return (packed & ~0xFF00u) | static_cast<uint32_t>(number - 1) << 8;
}

std::string WithSeparator(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  if (std::filesystem::equivalent(a, b, error)) return true;
  const std::filesystem::path pa = std::filesystem::weakly_canonical(a, error);
  if (error) return a == b;
  const std::filesystem::path pb = std::filesystem::weakly_canonical(b, error);
  if (error) return a == b;
  return pa == pb;
}

// Whether the file holds something that is no macro list we can read (a missing or empty file
// holds nothing to lose).
bool HoldsUnreadableList(const std::string& path, const Json::Value& document) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error || size == 0) return false;
  if (!document.isObject()) return true;
  const Json::Value& list = Member(document, kMacroInfo);
  return !list.isNull() && !list.isArray();
}

}  // namespace

std::vector<MacroEntry> ParseMacroList(const Json::Value& document) {
  std::vector<MacroEntry> macros;
  const Json::Value& list = Member(document, kMacroInfo);
  if (!list.isArray()) return macros;
  for (const Json::Value& element : list)
    macros.push_back({ReadString(element, kMacroName), ReadString(element, kGuid)});
  return macros;
}

std::optional<MacroFile> ParseMacroFile(const Json::Value& document) {
  if (!document.isObject()) return std::nullopt;
  const Json::Value& events = Member(document, kEvents);
  if (!events.isNull() && !events.isArray()) return std::nullopt;
  MacroFile file;
  // Kept in a form that is written back as it was read: valid UTF-8 without control characters
  // (a guid that is not such is no id at all).
  file.name = CleanProfileName(ReadString(document, kMacroName));
  const std::string guid = ReadString(document, kGuid);
  file.guid = CleanProfileName(guid) == guid ? guid : std::string();
  file.events = ParseMacroEvents(events);
  return file;
}

Json::Value MakeMacroFileDocument(const MacroFile& file) {
  Json::Value document(Json::objectValue);
  document[kMacroName] = file.name;
  document[kGuid] = file.guid;
  document[kEvents] = MacroEventsToJson(file.events);
  document[kVersion] = kMacroFileVersion;
  return document;
}

std::string NewMacroName(const std::vector<std::string>& names) {
  // At most names.size() + 1 tries: each taken number is one of the names.
  for (size_t number = 1;; ++number) {
    std::string name = "macro_" + std::to_string(number);
    if (!ProfileNameTaken(names, name)) return name;
  }
}

std::string ImportedMacroName(const std::vector<std::string>& names, std::string_view title) {
  std::string name = CleanProfileName(title);
  if (name.empty()) return NewMacroName(names);
  for (int counter = 1; ProfileNameTaken(names, name); ++counter)
    name += "_" + std::to_string(counter);
  return name;
}

bool KeysUseMacro(const std::vector<KeyAssignmentPair>& keys, int number) {
  return std::any_of(keys.begin(), keys.end(), [number](const KeyAssignmentPair& key) {
    return IsMacroCall(key.current.code[0]) && key.current.code[1] == number;
  });
}

bool RenumberMacroCalls(std::vector<KeyAssignmentPair>& keys, int removed) {
  if (removed < 0) return false;
  bool changed = false;
  for (KeyAssignmentPair& key : keys) {
    if (const std::optional<uint32_t> code =
            Renumbered(key.current.PackedCode(), key.factory.PackedCode(), removed)) {
      key.current.SetPackedCode(*code);
      changed = true;
    }
  }
  return changed;
}

bool RenumberMacroCallsInDocument(Json::Value& document, int removed) {
  if (removed < 0 || !Member(document, kDevice).isArray()) return false;
  bool changed = false;
  for (Json::Value& entry : document[kDevice]) {
    if (!Member(entry, kKeyList).isArray()) continue;
    for (Json::Value& key : entry[kKeyList]) {
      const std::optional<int> packed = AsInt(Member(key, kAssignment));
      if (!packed || *packed < 0) continue;
      const int fallback = ReadInt(key, kDefaultAssignment, 0);
      if (const std::optional<uint32_t> code =
              Renumbered(static_cast<uint32_t>(*packed), static_cast<uint32_t>(fallback) & 0xFFFFFF,
                         removed)) {
        key[kAssignment] = static_cast<int>(*code);
        changed = true;
      }
    }
  }
  return changed;
}

std::vector<std::string> ProfileDocumentsOfFolder(const std::string& folder) {
  std::vector<std::string> paths;
  const std::string base = WithSeparator(folder);
  const std::optional<ProfileListContents> list =
      ParseProfileList(JsonFileIo::ReadJsonFile(base + ProfileList::kListFileName));
  if (!list) return paths;
  for (const ProfileEntry& profile : list->profiles) {
    if (IsPlainFileName(profile.id)) paths.push_back(base + profile.id + ".Json");
  }
  return paths;
}

std::vector<std::string> RenumberMacroCallsInFiles(const std::vector<std::string>& paths,
                                                   int removed) {
  std::vector<std::string> failed;
  for (const std::string& path : paths) {
    Json::Value document = JsonFileIo::ReadJsonFile(path);
    if (document.isNull()) continue;
    if (!RenumberMacroCallsInDocument(document, removed)) continue;
    if (!JsonFileIo::WriteJsonFile(path, document)) {
      qCWarning(lcVorlin) << "macro calls not renumbered in" << path.c_str();
      failed.push_back(path);
    }
  }
  return failed;
}

MacroLibrary::MacroLibrary() : id_source_([] { return JsonFileIo::MakeTimeStampId(); }) {}

void MacroLibrary::SetFolder(const std::string& folder) {
  folder_ = WithSeparator(folder);
  Load();
}

void MacroLibrary::SetIdSource(IdSource source) {
  id_source_ = source ? std::move(source) : [] { return JsonFileIo::MakeTimeStampId(); };
}

std::string MacroLibrary::ListPath() const {
  return folder_.empty() ? std::string() : folder_ + kMacroListFileName;
}

void MacroLibrary::Load() {
  document_ = Json::Value(Json::objectValue);
  elements_.clear();
  macros_.clear();
  list_unreadable_ = false;
  if (folder_.empty()) return;
  const Json::Value document = JsonFileIo::ReadJsonFile(ListPath());
  if (HoldsUnreadableList(ListPath(), document)) {
    qCWarning(lcVorlin) << "macro list unreadable, taken as empty:" << ListPath().c_str();
    list_unreadable_ = true;
    return;
  }
  if (document.isObject()) document_ = document;
  const Json::Value& list = Member(document_, kMacroInfo);
  if (list.isArray()) {
    for (const Json::Value& element : list) elements_.push_back(element);
  }
  macros_ = ParseMacroList(document_);
}

std::vector<std::string> MacroLibrary::Names() const {
  std::vector<std::string> names;
  names.reserve(macros_.size());
  for (const MacroEntry& macro : macros_) names.push_back(macro.name);
  return names;
}

std::string MacroLibrary::PathOfGuid(const std::string& guid) const {
  if (folder_.empty() || guid.empty() || !IsPlainFileName(guid + kMacroFileExtension)) return {};
  return folder_ + guid + kMacroFileExtension;
}

std::string MacroLibrary::MacroPath(int number) const {
  return Has(number) ? PathOfGuid(macros_[static_cast<size_t>(number)].guid) : std::string();
}

Json::Value MacroLibrary::ListDocument(const std::vector<MacroEntry>& macros,
                                       const std::vector<Json::Value>& elements) const {
  Json::Value document = document_;
  Json::Value list(Json::arrayValue);
  for (size_t i = 0; i < macros.size(); ++i) {
    Json::Value element = i < elements.size() && elements[i].isObject()
                              ? elements[i]
                              : Json::Value(Json::objectValue);
    element[kMacroName] = macros[i].name;
    element[kGuid] = macros[i].guid;
    list.append(std::move(element));
  }
  document[kMacroInfo] = std::move(list);
  return document;
}

bool MacroLibrary::WriteList(const Json::Value& document) {
  if (folder_.empty()) return false;
  if (list_unreadable_) {
    // What the file held is kept before it is replaced; when that fails it stays untouched.
    if (KeepUnreadableDocument(ListPath()).empty()) return false;
    list_unreadable_ = false;
  }
  if (!JsonFileIo::WriteJsonFile(ListPath(), document)) {
    qCWarning(lcVorlin) << "macro list not written:" << ListPath().c_str();
    return false;
  }
  document_ = document;
  return true;
}

std::string MacroLibrary::NewGuid() const {
  const std::string base = id_source_();
  std::string guid = base;
  for (int n = 2;; ++n) {
    const bool listed = std::any_of(macros_.begin(), macros_.end(),
                                    [&](const MacroEntry& m) { return m.guid == guid; });
    std::error_code error;
    const std::string path = PathOfGuid(guid);
    if (!listed && !path.empty() && !std::filesystem::exists(path, error)) return guid;
    guid = base + "_" + std::to_string(n);
  }
}

MacroLibrary::Status MacroLibrary::Add(const std::string& name, int* number) {
  if (Count() >= kMaxMacros) return Status::kLimitReached;
  if (folder_.empty()) return Status::kWriteFailed;
  std::vector<MacroEntry> macros = macros_;
  macros.push_back({name, NewGuid()});
  std::vector<Json::Value> elements = elements_;
  elements.resize(macros.size(), Json::Value(Json::objectValue));
  if (!WriteList(ListDocument(macros, elements))) return Status::kWriteFailed;
  macros_ = std::move(macros);
  elements_ = std::move(elements);
  if (number) *number = Count() - 1;
  return Status::kOk;
}

MacroLibrary::Status MacroLibrary::Rename(int number, const std::string& typed) {
  if (!Has(number)) return Status::kNoMacro;
  if (typed.empty()) return Status::kUnchanged;
  const std::string name = CleanProfileName(typed);
  if (name.empty()) return Status::kNameBlank;
  if (ProfileNameTaken(Names(), name, number)) return Status::kNameTaken;
  std::vector<MacroEntry> macros = macros_;
  macros[static_cast<size_t>(number)].name = name;
  if (!WriteList(ListDocument(macros, elements_))) return Status::kWriteFailed;
  macros_ = std::move(macros);
  return Status::kOk;
}

MacroLibrary::Status MacroLibrary::Remove(int number) {
  if (!Has(number)) return Status::kNoMacro;
  const std::string path = MacroPath(number);
  std::vector<MacroEntry> macros = macros_;
  std::vector<Json::Value> elements = elements_;
  macros.erase(macros.begin() + number);
  if (static_cast<size_t>(number) < elements.size()) elements.erase(elements.begin() + number);
  if (!WriteList(ListDocument(macros, elements))) return Status::kWriteFailed;
  macros_ = std::move(macros);
  elements_ = std::move(elements);
  // The list no longer names the file; a file that will not go is only a leftover.
  std::error_code error;
  if (!path.empty() && !std::filesystem::remove(path, error) && error)
    qCWarning(lcVorlin) << "macro file not deleted:" << path.c_str();
  return Status::kOk;
}

MacroLibrary::Status MacroLibrary::Import(const std::string& source, int* number) {
  if (Count() >= kMaxMacros) return Status::kLimitReached;
  if (folder_.empty()) return Status::kWriteFailed;
  const std::string text = JsonFileIo::ReadTextFile(source);
  if (text.empty() || !ParseMacroFile(JsonFileIo::ParseJsonText(text))) {
    qCWarning(lcVorlin) << "not a macro file:" << source.c_str();
    return Status::kRefused;
  }
  const std::string guid = NewGuid();
  const std::string path = PathOfGuid(guid);
  if (path.empty() || !WriteFileAtomically(path, text)) return Status::kWriteFailed;
  std::vector<MacroEntry> macros = macros_;
  macros.push_back({ImportedMacroName(Names(), JsonFileIo::GetFileTitle(source)), guid});
  std::vector<Json::Value> elements = elements_;
  elements.resize(macros.size(), Json::Value(Json::objectValue));
  if (!WriteList(ListDocument(macros, elements))) {
    std::error_code error;
    std::filesystem::remove(path, error);
    return Status::kWriteFailed;
  }
  macros_ = std::move(macros);
  elements_ = std::move(elements);
  if (number) *number = Count() - 1;
  return Status::kOk;
}

bool MacroLibrary::IsOwnFile(const std::string& path) const {
  if (SameFile(path, ListPath())) return true;
  for (int i = 0; i < Count(); ++i) {
    const std::string own = MacroPath(i);
    if (!own.empty() && SameFile(path, own)) return true;
  }
  return false;
}

MacroLibrary::Status MacroLibrary::Export(int number, const std::string& path,
                                          const std::vector<MacroEvent>& events) const {
  if (!Has(number)) return Status::kNoMacro;
  if (path.empty() || IsOwnFile(path)) return Status::kRefused;
  const std::string own = MacroPath(number);
  std::string text = own.empty() ? std::string() : JsonFileIo::ReadTextFile(own);
  if (text.empty()) {
    const MacroEntry& macro = macros_[static_cast<size_t>(number)];
    text = JsonFileIo::StyledText(MakeMacroFileDocument({macro.name, macro.guid, events}));
  }
  return WriteFileAtomically(path, text) ? Status::kOk : Status::kWriteFailed;
}

std::vector<MacroEvent> MacroLibrary::ReadEvents(int number) const {
  const std::string path = MacroPath(number);
  if (path.empty()) return {};
  const std::optional<MacroFile> file = ParseMacroFile(JsonFileIo::ReadJsonFile(path));
  return file ? file->events : std::vector<MacroEvent>();
}

MacroLibrary::Status MacroLibrary::SaveEvents(int number,
                                              const std::vector<MacroEvent>& events) const {
  if (!Has(number)) return Status::kNoMacro;
  const std::string path = MacroPath(number);
  if (path.empty()) return Status::kRefused;
  const MacroEntry& macro = macros_[static_cast<size_t>(number)];
  if (!JsonFileIo::WriteJsonFile(path, MakeMacroFileDocument({macro.name, macro.guid, events}))) {
    qCWarning(lcVorlin) << "macro not saved:" << path.c_str();
    return Status::kWriteFailed;
  }
  return Status::kOk;
}

}  // namespace vorlin
