#pragma once

// The macros of a device kind on disk: the list "macro.config" in the kind's user data folder
//   { "MacroInfo": [ { "MacroName": "<name>", "Guid": "<id>" }, ... ] }
// and one file per macro, <Guid>.mac beside it:
//   { "MacroName": "<name>", "Guid": "<id>", "Events": [ <event>, ... ], "Version": 64 }
// A macro's position in "MacroInfo" is its number; the keys that play a macro (function types
// 0x70 and 0x71) carry that number in their second byte, so removing a macro renumbers the
// calls of every profile.
//
// Every document is written whole through a temporary file. A list that cannot be read counts
// as empty, and is kept aside ("macro.config.unreadable-<time>") before a new one replaces it.
// Ids are used as file names only when they are plain file names, so a damaged list can never
// reach a file outside the folder.

#include <json/value.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "profiles/key_assignment.h"
#include "profiles/macro_events.h"

namespace vorlin {

inline constexpr char kMacroListFileName[] = "macro.config";
inline constexpr char kMacroFileExtension[] = ".mac";

struct MacroEntry {
  std::string name;  // UTF-8
  std::string guid;  // the file's name without ".mac"; may be unusable in a damaged list

  bool operator==(const MacroEntry&) const = default;
};

// "MacroInfo" of a list document, one entry per element in order (an element that is no object
// gives an entry with empty name and id, so later macros keep their numbers).
std::vector<MacroEntry> ParseMacroList(const Json::Value& document);

// A macro file's contents.
struct MacroFile {
  std::string name;
  std::string guid;
  std::vector<MacroEvent> events;
};
// Nothing when the document is not an object or its "Events" is present but no array. A
// missing "Events" is an empty macro.
std::optional<MacroFile> ParseMacroFile(const Json::Value& document);
Json::Value MakeMacroFileDocument(const MacroFile& file);

// Naming. Names compare without regard to letter case.
// "macro_1", "macro_2", ...: the first that is free.
std::string NewMacroName(const std::vector<std::string>& names);
// The imported file's title, then "title_1", "title_1_2", "title_1_2_3", ...: each clash appends
// the next counter to the previous attempt. A blank title falls back to NewMacroName.
std::string ImportedMacroName(const std::vector<std::string>& names, std::string_view title);

// Macro calls of a key list. Whether any key's current function plays macro `number`.
bool KeysUseMacro(const std::vector<KeyAssignmentPair>& keys, int number);
// After macro `removed` is gone: calls of it go back to the key's factory function, calls of
// later macros move down by one. True when anything changed.
bool RenumberMacroCalls(std::vector<KeyAssignmentPair>& keys, int removed);
// The same on every "KeyList" of a profile document's "Device" entries ("Assignment" takes the
// element's "DefaultAssignment", 0 when it has none). True when anything changed.
bool RenumberMacroCallsInDocument(Json::Value& document, int removed);

// The profile documents named by the kind's profile list ("ProfileList.ini" in `folder`), in
// list order; empty when the list cannot be read.
std::vector<std::string> ProfileDocumentsOfFolder(const std::string& folder);
// Renumbers the calls in each document and writes the documents that changed. Documents that
// are missing or cannot be read are left alone. Returns the paths that needed a change but could
// not be written.
std::vector<std::string> RenumberMacroCallsInFiles(const std::vector<std::string>& paths,
                                                   int removed);

// The macro list of one folder and the files of its macros.
class MacroLibrary {
 public:
  enum class Status {
    kOk,
    kLimitReached,  // already kMaxMacros macros
    kNoMacro,       // the number names no macro
    kNameBlank,     // a rename to blanks only
    kNameTaken,     // a rename to another macro's name
    kUnchanged,     // a rename to nothing: nothing happens
    kRefused,       // the file to import is not a macro file, or the export would overwrite ours
    kWriteFailed,   // a document could not be written; the list is as before
  };
  using IdSource = std::function<std::string()>;

  MacroLibrary();

  // The kind's user data folder (with or without a trailing separator); reads the list.
  void SetFolder(const std::string& folder);
  const std::string& Folder() const { return folder_; }
  void SetIdSource(IdSource source);

  // Reads "macro.config" again; a missing or unreadable list is empty.
  void Load();
  const std::vector<MacroEntry>& Macros() const { return macros_; }
  std::vector<std::string> Names() const;
  int Count() const { return static_cast<int>(macros_.size()); }
  bool Has(int number) const { return number >= 0 && number < Count(); }
  std::string ListPath() const;
  // folder + id + ".mac"; empty when the number names no macro or its id is not a plain name.
  std::string MacroPath(int number) const;

  // A new macro at the end of the list; `number` receives its position. No file is written
  // until its events are saved.
  Status Add(const std::string& name, int* number = nullptr);
  // The name is cleaned first (see CleanProfileName).
  Status Rename(int number, const std::string& name);
  // Removes the macro from the list, then its file. Keys are renumbered by the caller.
  Status Remove(int number);
  // A new macro named after the file whose events are a copy of the file (unchanged).
  Status Import(const std::string& path, int* number = nullptr);
  // Copies the macro's file, unchanged, to `path`; a macro without a file yet is written there
  // from `events`. Refused when `path` is one of the folder's macro files or the list.
  Status Export(int number, const std::string& path, const std::vector<MacroEvent>& events) const;

  // The macro's events; empty when its file is missing or unreadable.
  std::vector<MacroEvent> ReadEvents(int number) const;
  // Writes the macro's file with these events and the listed name.
  Status SaveEvents(int number, const std::vector<MacroEvent>& events) const;

 private:
  bool WriteList(const Json::Value& document);
  // The list document with `macros` in it; elements of the document read keep their other keys.
  Json::Value ListDocument(const std::vector<MacroEntry>& macros,
                           const std::vector<Json::Value>& elements) const;
  std::string NewGuid() const;
  std::string PathOfGuid(const std::string& guid) const;
  bool IsOwnFile(const std::string& path) const;

  std::string folder_;
  IdSource id_source_;
  Json::Value document_;               // as read (an object), for its other keys
  std::vector<Json::Value> elements_;  // the "MacroInfo" elements as read
  std::vector<MacroEntry> macros_;
  bool list_unreadable_ = false;  // the file on disk holds something we could not read
};

}  // namespace vorlin
