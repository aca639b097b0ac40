// The macro documents ("macro.config" and the .mac files) are ours but may be damaged or come
// from anyone (imports). Reading any text must not crash; every event read must lie in its
// ranges; a macro file written from what was read must read back the same; and renumbering the
// macro calls of a profile document must leave calls below the removed macro alone, never make a
// call of a later macro point at the removed one, and touch nothing but "Assignment".
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "profiles/json_access.h"
#include "profiles/json_file_io.h"
#include "profiles/macro_documents.h"
#include "profiles/macro_events.h"

namespace {

using namespace vorlin;

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckMacroFile(const Json::Value& document) {
  const std::optional<MacroFile> file = ParseMacroFile(document);
  if (!file) return;
  for (const MacroEvent& event : file->events) Check(event.type <= 127);
  const Json::Value written =
      JsonFileIo::ParseJsonText(JsonFileIo::StyledText(MakeMacroFileDocument(*file)));
  const std::optional<MacroFile> again = ParseMacroFile(written);
  Check(again.has_value());
  Check(again->name == file->name && again->guid == file->guid && again->events == file->events);
}

void CheckRenumbering(const Json::Value& document, int removed) {
  Json::Value changed = document;
  RenumberMacroCallsInDocument(changed, removed);
  const Json::Value& before_list = Member(document, "Device");
  const Json::Value& after_list = Member(changed, "Device");
  Check(before_list.isArray() == after_list.isArray());
  if (!before_list.isArray()) {
    Check(changed == document);
    return;
  }
  Check(before_list.size() == after_list.size());
  for (Json::ArrayIndex d = 0; d < before_list.size(); ++d) {
    const Json::Value& before_keys = Member(before_list[d], "KeyList");
    const Json::Value& after_keys = Member(after_list[d], "KeyList");
    if (!before_keys.isArray()) {
      Check(before_list[d] == after_list[d]);
      continue;
    }
    for (Json::ArrayIndex k = 0; k < before_keys.size(); ++k) {
      const std::optional<int> before = AsInt(Member(before_keys[k], "Assignment"));
      const std::optional<int> after = AsInt(Member(after_keys[k], "Assignment"));
      Check(Member(before_keys[k], "DefaultAssignment") ==
            Member(after_keys[k], "DefaultAssignment"));
      if (!before || *before < 0) continue;
      Check(after.has_value());
      const int type = (*before >> 16) & 0xFF;
      const int number = (*before >> 8) & 0xFF;
      const bool call = type == 0x70 || type == 0x71;
      if (!call || number < removed) {
        Check(*after == *before);
      } else if (number > removed) {
        Check(*after == *before - 0x100);
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Json::Value document = JsonFileIo::ParseJsonText(text);
  const std::vector<MacroEntry> macros = ParseMacroList(document);
  const Json::Value& list = Member(document, "MacroInfo");
  Check(macros.size() == (list.isArray() ? list.size() : 0u));
  CheckMacroFile(document);
  for (int removed : {0, 1, 5}) CheckRenumbering(document, removed);
  return 0;
}
