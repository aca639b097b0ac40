#pragma once

#include <json/value.h>

#include <optional>
#include <string>
#include <vector>

namespace vorlin {

// The profile list document "ProfileList.ini" (JSON despite its name):
//   { "profilelist": [ { "profilename": "...", "profileUUID": "<id>",
//                        "profileislink": 0, "profilelinkmame": "" }, ... ],
//     "profileselect": <index of the current profile> }
// The id names the profile's document, <id>.Json in the same folder. The two link keys are
// written for older readers of the file; nothing reads them.

struct ProfileEntry {
  std::string name;  // UTF-8, unique within the list without regard to case
  std::string id;    // a plain file name

  bool operator==(const ProfileEntry&) const = default;
};

struct ProfileListContents {
  std::vector<ProfileEntry> profiles;
  int selected = 0;

  std::vector<std::string> Names() const;
};

// Reads a list document. The file is ours but may have been damaged or edited by hand, so:
// entries that are not objects, whose id is not a plain file name or repeats an earlier id (two
// entries sharing one document would delete each other's settings) are left out; names are
// cleaned (CleanProfileName) and an entry without a usable name gets a fresh "profileN" name;
// a selection that is not a number, is out of
// range or pointed at a left-out entry becomes 0. Nothing when no usable entry remains.
std::optional<ProfileListContents> ParseProfileList(const Json::Value& document);
Json::Value MakeProfileListDocument(const ProfileListContents& contents);

// The list entry that a profile document found in the folder stands for, used to rebuild a lost
// list. The document must name itself: its "profileUUID" is `file_id` (its file name without
// ".Json"), and it carries a device entry. The name is cleaned and may be empty (the caller
// names such a profile).
std::optional<ProfileEntry> ProfileEntryOfDocument(const Json::Value& document,
                                                   const std::string& file_id);

// `document` (replaced by an empty object when it is not one) with the top-level "profilename"
// and "profileUUID" of `entry`; everything else stays.
Json::Value WithProfileIdentity(Json::Value document, const ProfileEntry& entry);

// Whether `document` is a profile document that a list of this kind can take in: an object
// with string "profilename" and "profileUUID" and a "Device" array whose first element is an
// object. With a factory document to compare to, the entry must also be of the same device kind:
// every device key of the factory entry is present with the same shape (object or array), and
// none of the device keys that only other kinds use (a mouse's "DPIStages" in a keyboard's list)
// is present. Without a factory entry, the entry must at least carry its "KeyList" array.
bool IsImportableProfileDocument(const Json::Value& document, const Json::Value& factory_document);

}  // namespace vorlin
