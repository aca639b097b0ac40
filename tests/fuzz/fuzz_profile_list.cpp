// The profile list document "ProfileList.ini" is ours but may have been edited by hand or
// damaged. Reading any text must not crash; what is read must be a usable list (unique plain ids,
// named entries, a selection inside the list); and writing it and reading it back must give the
// same list, so the list the program keeps is the one the next start finds.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "profiles/json_access.h"
#include "profiles/json_file_io.h"
#include "profiles/profile_folders.h"
#include "profiles/profile_list_document.h"
#include "profiles/profile_list_names.h"
#include "profiles/utf8_repair.h"

namespace {

using namespace vorlin;

void Check(bool condition) {
  if (!condition) std::abort();
}

// Whether `text` is well-formed UTF-8 (the form the document writer keeps byte for byte).
bool IsUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t length = lead < 0x80           ? 1
                    : (lead >> 5) == 0x6  ? 2
                    : (lead >> 4) == 0xE  ? 3
                    : (lead >> 3) == 0x1E ? 4
                                          : 0;
    if (length == 0 || i + length > text.size()) return false;
    uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
      return false;
    i += length;
  }
  return true;
}

void CheckUsable(const ProfileListContents& contents) {
  Check(!contents.profiles.empty());
  Check(contents.selected >= 0 && contents.selected < static_cast<int>(contents.profiles.size()));
  std::set<std::string> ids;
  for (const ProfileEntry& entry : contents.profiles) {
    Check(IsPlainFileName(entry.id));
    Check(ids.insert(entry.id).second);
    Check(!IsBlankProfileName(entry.name));
  }
}

bool Same(const ProfileListContents& a, const ProfileListContents& b) {
  return a.profiles == b.profiles && a.selected == b.selected;
}

std::optional<ProfileListContents> WrittenAndReadBack(const ProfileListContents& contents) {
  const std::string text = JsonFileIo::StyledText(MakeProfileListDocument(contents));
  return ParseProfileList(JsonFileIo::ParseJsonText(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // What the reader parses is always UTF-8, stays as it is when repaired again, and is the text
  // itself when that was UTF-8 already.
  const std::string repaired = RepairUtf8(text);
  Check(IsUtf8(repaired));
  Check(RepairUtf8(repaired) == repaired);
  Check(IsUtf8(text) == (repaired == text));
  const Json::Value document = JsonFileIo::ParseJsonText(text);

  const std::optional<ProfileListContents> read = ParseProfileList(document);
  if (read) {
    CheckUsable(*read);
    // An entry is only left out for an unusable or repeated id, so a list read is never longer
    // than the document's list.
    Check(read->profiles.size() <= Member(document, "profilelist").size());

    const std::optional<ProfileListContents> again = WrittenAndReadBack(*read);
    Check(again.has_value());
    CheckUsable(*again);
    bool exact = true;
    for (const ProfileEntry& entry : read->profiles) exact = exact && IsUtf8(entry.id);
    if (exact) {
      Check(Same(*again, *read));
    } else {
      // An id that is not UTF-8 is written as U+FFFD; from then on the list stays as it is.
      Check(again->profiles.size() <= read->profiles.size());
      const std::optional<ProfileListContents> third = WrittenAndReadBack(*again);
      Check(third.has_value() && Same(*third, *again));
    }
  }

  // A document taken in by an import gets the list's identity; everything else of it stays.
  const ProfileEntry identity{"Imported", "2024_03_09_14_05_07_042"};
  const Json::Value named = WithProfileIdentity(document, identity);
  Check(named.isObject());
  Check(ReadString(named, "profilename") == identity.name);
  Check(ReadString(named, "profileUUID") == identity.id);
  if (document.isObject()) Check(named["Device"] == document["Device"]);

  // Whether it is a profile document of some kind (no crash, and the least it must carry).
  if (IsImportableProfileDocument(document, Json::Value()))
    Check(Member(Element(Member(document, "Device"), 0), "KeyList").isArray());
  if (IsImportableProfileDocument(document, document))
    Check(Element(Member(document, "Device"), 0).isObject());
  return 0;
}
