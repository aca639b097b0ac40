#include "profiles/profile_list.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "platform/log.h"
#include "profiles/json_access.h"
#include "profiles/json_file_io.h"
#include "profiles/profile_folders.h"
#include "profiles/profile_list_names.h"
#include "profiles/unreadable_document.h"

namespace vorlin {
namespace {

constexpr char kDeviceKey[] = "Device";
constexpr char kDocumentExtension[] = ".Json";
// The user's own equaliser presets, which a headset reset keeps.
constexpr const char* kCustomEqualiserKeys[] = {"CustomEQNameInfo", "CustomEQHzValueInfo"};

bool PathExists(const std::string& path) {
  std::error_code error;
  // symlink_status: a dangling link still occupies the name.
  return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

void RemoveFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::remove(path, error) && error)
    qCWarning(lcVorlin) << "cannot delete" << path.c_str() << error.message().c_str();
}

const Json::Value& DeviceEntry(const Json::Value& document) {
  return Element(Member(document, kDeviceKey), 0);
}

Json::Value& MutableDeviceEntry(Json::Value& document) {
  return MutableElement(MutableMember(document, kDeviceKey), 0);
}

// The path with links and "." / ".." resolved as far as it exists, for comparing two paths.
std::filesystem::path Resolved(const std::string& path) {
  std::error_code error;
  std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
  return error ? std::filesystem::absolute(path, error).lexically_normal() : resolved;
}

bool SameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  std::error_code error;
  // equivalent() also sees through hard links, but only between files that exist.
  return Resolved(a) == Resolved(b) || std::filesystem::equivalent(a, b, error);
}

}  // namespace

ProfileList::ProfileList() : id_source_([] { return JsonFileIo::MakeTimeStampId(); }) {}

void ProfileList::SetFolders(std::string user_data_folder, std::string default_document_path) {
  folder_ = std::move(user_data_folder);
  if (!folder_.empty() && folder_.back() != '/') folder_ += '/';
  default_path_ = std::move(default_document_path);
}

void ProfileList::SetIdSource(IdSource source) {
  if (source) id_source_ = std::move(source);
}

// Without a folder there are no paths at all, so nothing is ever written into the current folder.
std::string ProfileList::ListPath() const {
  return folder_.empty() ? std::string() : folder_ + kListFileName;
}

std::string ProfileList::PathOfId(const std::string& id) const {
  return !folder_.empty() && IsPlainFileName(id) ? folder_ + id + kDocumentExtension
                                                 : std::string();
}

std::string ProfileList::DocumentPath(int index) const {
  return InRange(index) ? PathOfId(contents_.profiles[index].id) : std::string();
}

int ProfileList::IndexOfId(const std::string& id) const {
  for (int i = 0; i < Count(); ++i) {
    if (contents_.profiles[i].id == id) return i;
  }
  return -1;
}

std::string ProfileList::CurrentId() const {
  const int index = SelectedIndex();
  return InRange(index) ? contents_.profiles[index].id : std::string();
}

Json::Value ProfileList::FactoryDocument() const {
  return JsonFileIo::ReadJsonFile(default_path_);
}

bool ProfileList::WriteList(const ProfileListContents& contents) {
  if (JsonFileIo::WriteJsonFile(ListPath(), MakeProfileListDocument(contents))) return true;
  qCWarning(lcVorlin) << "profile list not written:" << ListPath().c_str();
  return false;
}

std::string ProfileList::NewId() const {
  // Two profiles made within one millisecond get the same time stamp; a document that is
  // already there belongs to someone, so the id takes a suffix until its name is free.
  std::string base = id_source_();
  if (!IsPlainFileName(base)) base = "profile";
  const auto taken = [this](const std::string& id) {
    return std::any_of(contents_.profiles.begin(), contents_.profiles.end(),
                       [&](const ProfileEntry& e) { return e.id == id; }) ||
           PathExists(PathOfId(id));
  };
  std::string id = base;
  for (int suffix = 1; taken(id); ++suffix) id = base + "_" + std::to_string(suffix);
  return id;
}

std::optional<ProfileListContents> ProfileList::ProfilesInFolder() const {
  std::vector<ProfileEntry> found;
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder_, error), end; !error && it != end;
       it.increment(error)) {
    const std::filesystem::path& path = it->path();
    if (path.extension() != kDocumentExtension) continue;
    if (std::optional<ProfileEntry> entry =
            ProfileEntryOfDocument(JsonFileIo::ReadJsonFile(path), path.stem().string())) {
      found.push_back(std::move(*entry));
    }
  }
  if (found.empty()) return std::nullopt;
  // Ids are time stamps: their order is the order the profiles were made in.
  std::sort(found.begin(), found.end(),
            [](const ProfileEntry& a, const ProfileEntry& b) { return a.id < b.id; });
  // Beyond the limit, documents stay in the folder unlisted rather than being lost.
  if (found.size() > static_cast<size_t>(kMaxProfiles)) found.resize(kMaxProfiles);
  ProfileListContents contents;
  for (ProfileEntry& entry : found) {
    entry.name = entry.name.empty() ? NewProfileName(contents.Names())
                                    : ImportedProfileName(contents.Names(), entry.name);
    contents.profiles.push_back(std::move(entry));
  }
  contents.selected = 0;
  return contents;
}

void ProfileList::CreateMissingDocuments() {
  for (const ProfileEntry& entry : contents_.profiles) {
    const std::string path = PathOfId(entry.id);
    if (path.empty() || PathExists(path)) continue;
    if (!JsonFileIo::WriteJsonFile(path, WithProfileIdentity(FactoryDocument(), entry)))
      qCWarning(lcVorlin) << "missing profile document not made:" << path.c_str();
  }
}

std::optional<ProfileListContents> ProfileList::ReadList() const {
  const std::string path = ListPath();
  const Json::Value document = JsonFileIo::ReadJsonFile(path);
  std::optional<ProfileListContents> read = ParseProfileList(document);
  const Json::Value& listed = Member(document, "profilelist");
  const bool damaged = document.isNull()
                           ? ReplacingLosesContent(path, document, 0)
                           : !read || (listed.isArray() && read->profiles.size() < listed.size());
  // The list about to be written in its place would lose the order, selection or entries the
  // file holds; a copy lets the user (or support) get them back.
  if (damaged && KeepUnreadableDocument(path).empty())
    qCWarning(lcVorlin) << "damaged profile list replaced without a copy:" << path.c_str();
  return read;
}

bool ProfileList::Load() {
  if (folder_.empty()) return false;
  std::error_code error;
  std::filesystem::create_directories(folder_, error);
  std::optional<ProfileListContents> read = ReadList();
  if (!read) {
    read = ProfilesInFolder();
    if (read) {
      qCWarning(lcVorlin) << "profile list missing or unreadable, rebuilt from"
                          << read->profiles.size() << "profile documents in" << folder_.c_str();
    }
  }
  if (read) {
    contents_ = std::move(*read);
    CreateMissingDocuments();
    // Written back at once: the list as read (left-out entries, a repaired selection) is the
    // list from now on. A list that was fine as it stands is not touched.
    return WriteList(contents_);
  }
  qCInfo(lcVorlin) << "starting a new profile list in" << folder_.c_str();
  ProfileListContents fresh;
  const ProfileEntry first{NewProfileName({}), NewId()};
  fresh.profiles.push_back(first);
  fresh.selected = 0;
  contents_ = fresh;
  const bool document_written =
      JsonFileIo::WriteJsonFile(PathOfId(first.id), WithProfileIdentity(FactoryDocument(), first));
  return WriteList(contents_) && document_written;
}

void ProfileList::Refresh() {
  if (contents_.profiles.empty()) {
    Load();
    return;
  }
  if (folder_.empty()) return;
  std::error_code error;
  std::filesystem::create_directories(folder_, error);
  if (std::optional<ProfileListContents> read = ReadList()) {
    const std::string current = CurrentId();
    contents_ = std::move(*read);
    // The page has the current profile loaded; the file's selection may be another writer's.
    if (const int index = IndexOfId(current); index >= 0) contents_.selected = index;
  } else {
    qCWarning(lcVorlin) << "profile list unreadable, keeping the one in memory";
  }
}

int ProfileList::Reread(int index) {
  if (contents_.profiles.empty()) {
    Refresh();
    return InRange(index) ? index : -1;
  }
  const std::string id = InRange(index) ? contents_.profiles[index].id : std::string();
  Refresh();
  return id.empty() ? -1 : IndexOfId(id);
}

ProfileList::Outcome ProfileList::Select(int index) {
  index = Reread(index);
  if (!InRange(index)) return {Status::kNoProfile, SelectedIndex()};
  contents_.selected = index;
  // The selection holds for this run even when the file keeps the old one.
  return {WriteList(contents_) ? Status::kOk : Status::kWriteFailed, index};
}

ProfileList::Outcome ProfileList::AppendProfile(const std::string& name,
                                                const Json::Value& document) {
  if (Count() >= kMaxProfiles) return {Status::kLimitReached, SelectedIndex()};
  const ProfileEntry entry{name, NewId()};
  const std::string path = PathOfId(entry.id);
  if (path.empty() || !JsonFileIo::WriteJsonFile(path, WithProfileIdentity(document, entry)))
    return {Status::kWriteFailed, SelectedIndex()};
  ProfileListContents next = contents_;
  next.profiles.push_back(entry);
  next.selected = static_cast<int>(next.profiles.size()) - 1;
  if (!WriteList(next)) {
    RemoveFile(path);
    return {Status::kWriteFailed, SelectedIndex()};
  }
  contents_ = std::move(next);
  return {Status::kOk, contents_.selected};
}

ProfileList::Outcome ProfileList::Add() {
  Refresh();
  if (Count() >= kMaxProfiles) return {Status::kLimitReached, SelectedIndex()};
  return AppendProfile(NewProfileName(Names()), FactoryDocument());
}

ProfileList::Outcome ProfileList::Copy(int source) {
  source = Reread(source);
  if (!InRange(source)) return {Status::kNoProfile, SelectedIndex()};
  if (Count() >= kMaxProfiles) return {Status::kLimitReached, SelectedIndex()};
  return AppendProfile(CopyProfileName(Names(), contents_.profiles[source].name),
                       EffectiveDocument(contents_.profiles[source]));
}

ProfileList::Outcome ProfileList::Import(const std::string& path) {
  Refresh();
  if (Count() >= kMaxProfiles) return {Status::kLimitReached, SelectedIndex()};
  const Json::Value document = JsonFileIo::ReadJsonFile(path);
  if (!IsImportableProfileDocument(document, FactoryDocument())) {
    qCInfo(lcVorlin) << "not a profile document of this kind:" << path.c_str();
    return {Status::kRefused, SelectedIndex()};
  }
  return AppendProfile(ImportedProfileName(Names(), JsonFileIo::GetFileTitle(path)), document);
}

bool ProfileList::WriteNameIntoDocument(const ProfileEntry& entry) {
  const std::string path = PathOfId(entry.id);
  if (path.empty()) return false;
  const Json::Value document = JsonFileIo::ReadJsonFile(path);
  if (document.isObject())
    return JsonFileIo::WriteJsonFile(path, WithProfileIdentity(document, entry));
  if (PathExists(path)) {
    // Writing the name alone would put an empty document in place of settings that cannot be
    // read now; the list names the profile either way.
    qCWarning(lcVorlin) << "profile document unreadable, its name left as it is:" << path.c_str();
    return true;
  }
  return JsonFileIo::WriteJsonFile(path, EffectiveDocument(entry));
}

ProfileList::RenameResult ProfileList::Rename(int index, const std::string& requested) {
  index = Reread(index);
  if (!InRange(index)) return RenameResult::kNoProfile;
  const std::string name = CleanProfileName(requested);
  if (IsBlankProfileName(name)) return RenameResult::kNameBlank;
  if (ProfileNameTaken(Names(), name, index)) return RenameResult::kNameTaken;
  ProfileListContents next = contents_;
  next.profiles[index].name = name;
  if (!WriteList(next)) return RenameResult::kWriteFailed;
  if (!WriteNameIntoDocument(next.profiles[index])) {
    // The list and the document keep one name: the list goes back to the old one.
    qCWarning(lcVorlin) << "profile document not renamed:" << DocumentPath(index).c_str();
    WriteList(contents_);
    return RenameResult::kWriteFailed;
  }
  contents_ = std::move(next);
  return RenameResult::kRenamed;
}

ProfileList::Outcome ProfileList::Delete(int index) {
  index = Reread(index);
  if (!InRange(index)) return {Status::kNoProfile, SelectedIndex()};
  if (Count() < 2) return {Status::kLastProfile, SelectedIndex()};
  ProfileListContents next = contents_;
  const std::string removed_path = DocumentPath(index);
  next.profiles.erase(next.profiles.begin() + index);
  if (index < next.selected || (index == next.selected && index > 0)) --next.selected;
  if (!WriteList(next)) return {Status::kWriteFailed, SelectedIndex()};
  contents_ = std::move(next);
  RemoveFile(removed_path);
  return {Status::kOk, contents_.selected};
}

Json::Value ProfileList::EffectiveDocument(const ProfileEntry& entry) const {
  Json::Value document = JsonFileIo::ReadJsonFile(PathOfId(entry.id));
  if (!document.isObject()) document = Json::Value(Json::objectValue);
  if (DeviceEntry(document).isNull()) {
    const Json::Value factory = FactoryDocument();
    if (!DeviceEntry(factory).isNull()) MutableDeviceEntry(document) = DeviceEntry(factory);
  }
  return WithProfileIdentity(std::move(document), entry);
}

bool ProfileList::IsOwnFile(const std::string& path) const {
  if (SameFile(path, ListPath())) return true;
  return std::any_of(contents_.profiles.begin(), contents_.profiles.end(),
                     [&](const ProfileEntry& entry) { return SameFile(path, PathOfId(entry.id)); });
}

bool ProfileList::Export(int index, const std::string& path) {
  index = Reread(index);
  if (!InRange(index) || path.empty()) return false;
  if (IsOwnFile(path)) {
    qCWarning(lcVorlin) << "not exporting over the profiles' own file" << path.c_str();
    return false;
  }
  const Json::Value document = EffectiveDocument(contents_.profiles[index]);
  // A document without settings would not import again; better no file than a useless one.
  if (!DeviceEntry(document).isObject()) {
    qCWarning(lcVorlin) << "profile has no settings to export:" << DocumentPath(index).c_str();
    return false;
  }
  return JsonFileIo::WriteJsonFile(path, document);
}

bool ProfileList::ResetProfile(int index) {
  index = Reread(index);
  if (!InRange(index)) return false;
  Json::Value document = FactoryDocument();
  if (!document.isObject()) return false;
  const std::string path = DocumentPath(index);
  if (keep_custom_eq_) {
    const Json::Value current = JsonFileIo::ReadJsonFile(path);
    for (const char* key : kCustomEqualiserKeys) {
      const Json::Value& kept = Member(DeviceEntry(current), key);
      if (!kept.isNull()) MutableMember(MutableDeviceEntry(document), key) = kept;
    }
  }
  return JsonFileIo::WriteJsonFile(
      path, WithProfileIdentity(std::move(document), contents_.profiles[index]));
}

}  // namespace vorlin
