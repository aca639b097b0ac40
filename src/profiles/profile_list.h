#pragma once

#include <json/value.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "profiles/profile_list_document.h"

namespace vorlin {

// The profiles of one device page: the list document "ProfileList.ini" in the kind's user data
// folder and one document per profile (<id>.Json beside it). Pure file logic, no widgets; the
// profile bar shows it.
//
// Every change re-reads the list from disk first (a list that has become unreadable is replaced
// by the last one read), then writes the profile's document and the list, each written whole
// through a temporary file so that a crash leaves the old or the new file. A new profile's
// document is written before the list names it, and a removed profile's document is deleted only
// after the list has let go of it, so the list never loses a profile whose settings exist.
//
// Indexes given to the operations are positions in the list as it was last read (what the
// profile bar shows). When the file has changed meanwhile, the operation finds that profile
// again by its id, so it never acts on whichever profile has moved into its place; the current
// profile likewise stays current as long as it is in the list.
class ProfileList {
 public:
  static constexpr int kMaxProfiles = 50;
  static constexpr char kListFileName[] = "ProfileList.ini";

  enum class Status {
    kOk,
    kLimitReached,  // already kMaxProfiles profiles
    kNoProfile,     // the index names no profile
    kLastProfile,   // the only profile cannot be deleted
    kRefused,       // the file to import is not a profile document of this kind
    kWriteFailed,   // a document could not be written; nothing changed
  };
  struct Outcome {
    Status status = Status::kOk;
    int index = -1;  // the profile selected afterwards
    bool ok() const { return status == Status::kOk; }
  };
  // The values the profile bar has always used for a rename: 0 the name is taken, 1 renamed,
  // 2 the name is blank.
  enum class RenameResult {
    kNameTaken = 0,
    kRenamed = 1,
    kNameBlank = 2,
    kNoProfile = 3,
    kWriteFailed = 4
  };

  // Where new ids come from; MakeTimeStampId unless a test says otherwise.
  using IdSource = std::function<std::string()>;

  ProfileList();

  // The kind's user data folder and its factory document (a file under "DefaultData").
  void SetFolders(std::string user_data_folder, std::string default_document_path);
  void SetIdSource(IdSource source);
  // The headset's reset keeps the user's own equaliser presets.
  void SetResetKeepsCustomEqualiser(bool keep) { keep_custom_eq_ = keep; }

  // Reads the list. When it is missing, unreadable or holds no usable profile, the list is
  // rebuilt from the profile documents in the folder (each names itself by its "profileUUID"),
  // oldest first, so that a damaged list does not lose the user's profiles; when there are none,
  // a list with the single profile "profile1" is written, its document made from the factory
  // document. A listed profile whose document is missing gets one from the factory document.
  // Returns false when the list (or a fresh profile1's document) could not be written; the list
  // is still used.
  bool Load();

  const std::vector<ProfileEntry>& Profiles() const { return contents_.profiles; }
  std::vector<std::string> Names() const { return contents_.Names(); }
  int Count() const { return static_cast<int>(contents_.profiles.size()); }
  // -1 before Load.
  int SelectedIndex() const { return contents_.profiles.empty() ? -1 : contents_.selected; }
  std::string CurrentId() const;
  std::string ListPath() const;
  // folder + id + ".Json" of profile `index`; empty when out of range.
  std::string DocumentPath(int index) const;

  // Makes profile `index` the current one and writes that into the list.
  Outcome Select(int index);
  // A new profile "profileN" with the factory settings, made current.
  Outcome Add();
  // A copy of profile `source` with all its settings, named "<name> copy", made current.
  Outcome Copy(int source);
  // A new profile from the document at `path` (named after the file), made current. A file that
  // is not a profile document of this kind is refused and nothing changes.
  Outcome Import(const std::string& path);
  // Renames profile `index` in the list and in its document; the id and file name stay. The
  // name is kept cleaned (CleanProfileName); blank and taken names are judged after cleaning.
  RenameResult Rename(int index, const std::string& name);
  // Removes profile `index` and its document. The selection moves to the profile before it (or
  // the first one); Outcome::index is the new selection.
  Outcome Delete(int index);
  // Writes profile `index`'s document, as the program would load it, to `path`. Refused when
  // `path` is the list or a profile document of this list, which the export would destroy.
  bool Export(int index, const std::string& path);
  // Gives profile `index` the factory settings (the headset keeps its own equaliser presets).
  bool ResetProfile(int index);

 private:
  // Reads the list file. A file that holds something the list made from it would not carry (it
  // is unreadable, not a list, or some entries are left out) is first kept beside it as
  // "ProfileList.ini.unreadable-<time stamp>", since a new list is about to replace it.
  std::optional<ProfileListContents> ReadList() const;
  // Re-reads the list from disk; keeps the one in memory when the file is not usable. The
  // current profile stays current when it is still listed.
  void Refresh();
  // Refresh, then where the profile at `index` (before it) is now; -1 when it is gone.
  int Reread(int index);
  int IndexOfId(const std::string& id) const;
  // The profiles whose documents lie in the folder, oldest (smallest id) first; nothing when
  // there are none.
  std::optional<ProfileListContents> ProfilesInFolder() const;
  // Gives every listed profile whose document is missing one made from the factory document.
  void CreateMissingDocuments();
  // Puts `entry`'s name into its document. An unreadable document is left as it is (its
  // settings may yet be saved by hand); a missing one is made as loading would make it.
  bool WriteNameIntoDocument(const ProfileEntry& entry);
  // Whether `path` is the list or the document of a listed profile.
  bool IsOwnFile(const std::string& path) const;
  bool WriteList(const ProfileListContents& contents);
  // Appends a profile whose document is `document` and makes it current.
  Outcome AppendProfile(const std::string& name, const Json::Value& document);
  // A new id whose document does not exist yet and that no profile of the list has.
  std::string NewId() const;
  std::string PathOfId(const std::string& id) const;
  Json::Value FactoryDocument() const;
  // The document of profile `entry` as loading it would make it: its "Device" entry taken from
  // the factory document when it lacks one.
  Json::Value EffectiveDocument(const ProfileEntry& entry) const;
  bool InRange(int index) const { return index >= 0 && index < Count(); }

  std::string folder_;
  std::string default_path_;
  IdSource id_source_;
  bool keep_custom_eq_ = false;
  ProfileListContents contents_;
};

}  // namespace vorlin
