#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorlin {

// The naming rules of the profile list. Names are UTF-8; two names are the same name when they
// differ only in letter case (Unicode case folding), so "Work" and "WORK" cannot both exist.
// A name is only shown, never used as a file name (a profile's document is named by its id), so
// any character a file name cannot hold ('/', ':', '*', ...) is allowed in it.

// The name edit's limit, in UTF-16 code units as the edit counts them.
inline constexpr int kMaxProfileNameLength = 64;

// The form a name is kept in, whatever it came from (the name edit, an imported file's title, a
// list edited by hand): valid UTF-8 (bytes that are not become U+FFFD), control characters and
// line breaks turned into spaces, white space trimmed at both ends, at most
// kMaxProfileNameLength code units. Empty when nothing but blanks is left.
std::string CleanProfileName(std::string_view name);

bool SameProfileName(std::string_view a, std::string_view b);
// Whether `name` is taken by any of `names`, leaving out the name at `except` (the profile being
// renamed keeps its own name, or takes it in another case).
bool ProfileNameTaken(const std::vector<std::string>& names, std::string_view name,
                      int except = -1);
// An empty name or one of white space only.
bool IsBlankProfileName(std::string_view name);

// "profile1", "profile2", ...: the first of these that is free.
std::string NewProfileName(const std::vector<std::string>& names);
// "A copy", then "A copy copy", ...: "copy" is appended until the name is free.
std::string CopyProfileName(const std::vector<std::string>& names, std::string_view source);
// The imported file's title (cleaned), then "title(1)", "title(1)(2)", ...: each clash appends
// the next counter to the previous attempt. A blank title falls back to NewProfileName.
std::string ImportedProfileName(const std::vector<std::string>& names, std::string_view title);

}  // namespace vorlin
