#pragma once

#include <json/value.h>

#include <filesystem>
#include <string>

namespace vorlin {

// A profile document is sometimes replaced by one the program builds itself: seeded from the
// factory document when it lacks its device entry, or re-written on save. When the file on disk
// could not be read or parsed, or holds something of the wrong shape where the new entry goes,
// writing would destroy what the user (or another program) put there. Such a file is kept beside
// the document as "<file name>.unreadable-<time stamp>" before it is replaced.

// Whether putting an entry at "Device"[device_index] of `document` (what was read from the file
// at `path`) would drop something of the file: it did not parse, or the document is not an
// object, its "Device" is not an array, or the element there is neither missing, null nor an
// object. A missing or empty file holds nothing to lose.
bool ReplacingLosesContent(const std::filesystem::path& path, const Json::Value& document,
                           Json::ArrayIndex device_index);

// Keeps the file at `path` under "<file name>.unreadable-<stamp>" in the same folder ("-2", "-3",
// ... appended when that name is taken) and returns the new path; empty when it could not be kept
// (the caller must then leave the file alone). The file is copied and the copy flushed to disk,
// so the document stays in place until it is replaced; a file that cannot be copied (not
// readable, no space) is moved instead.
std::filesystem::path KeepUnreadableDocument(const std::filesystem::path& path,
                                             const std::string& stamp);
// The same with the current local time as the stamp (JsonFileIo::MakeTimeStampId).
std::filesystem::path KeepUnreadableDocument(const std::filesystem::path& path);

}  // namespace vorlin
