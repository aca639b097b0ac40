#include "lighting/colour_options.h"

#include <algorithm>
#include <cstdio>
#include <system_error>
#include <utility>

#include "platform/log.h"
#include "profiles/json_access.h"
#include "profiles/json_file_io.h"
#include "profiles/unreadable_document.h"

namespace vorlin {
namespace {

constexpr char kInfoKey[] = "coloroptioninfo";
constexpr char kPresetsKey[] = "palletDialogcoloroption";
constexpr char kPresetSelectKey[] = "palletDialogcoloroption_selectitem";
constexpr char kCollectedKey[] = "palletDialogcollectcoloroption";
constexpr char kCollectedSelectKey[] = "palletDialogcollectcoloroption_selectitem";
constexpr char kColourKey[] = "color";
constexpr char kUserDataKey[] = "UserData";

// The shipped presets: the colour wheel in twelve steps, white, and seven softer colours.
constexpr std::array<uint32_t, kPresetColourCount> kBuiltInPresets = {
    0xFFFF0000, 0xFFFF8000, 0xFFFFFF00, 0xFF80FF00, 0xFF00FF00, 0xFF00FF80, 0xFF00FFFF,
    0xFF0080FF, 0xFF0000FF, 0xFF8000FF, 0xFFFF00FF, 0xFFFF0080, 0xFFFFFFFF, 0xFFFFD8A0,
    0xFFFF80C0, 0xFF80C0FF, 0xFF80FFC0, 0xFFFFC000, 0xFF6000C0, 0xFF008080};

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<uint32_t> ColourOf(const Json::Value& entry) {
  const Json::Value& text = Member(entry, kColourKey);
  if (!text.isString()) return std::nullopt;
  return ParseArgbText(text.asString());
}

// The selection `key` of `info` when it is an index below `count`, else `fallback`.
int SelectionOf(const Json::Value& info, const char* key, int count, int fallback) {
  const std::optional<int> index = AsInt(Member(info, key));
  return index && *index >= 0 && *index < count ? *index : fallback;
}

// Whether the bytes of the file at `path` would be lost by writing a fresh document over it:
// there are some, and they are not a document whose colour options are an object (or absent).
bool WritingLosesContent(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error) || std::filesystem::file_size(path, error) == 0 ||
      error) {
    return false;
  }
  const Json::Value document = JsonFileIo::ReadJsonFile(path);
  if (!document.isObject()) return true;
  const Json::Value& info = Member(document, kInfoKey);
  return !info.isNull() && !info.isObject();
}

}  // namespace

std::string ArgbText(uint32_t argb) {
  char text[16];
  std::snprintf(text, sizeof text, "#%08X", static_cast<unsigned>(argb));
  return text;
}

std::optional<uint32_t> ParseArgbText(std::string_view text) {
  if (text.size() != 9 && text.size() != 7) return std::nullopt;
  if (text.front() != '#') return std::nullopt;
  uint32_t value = 0;
  for (char c : text.substr(1)) {
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    value = value << 4 | static_cast<uint32_t>(digit);
  }
  return text.size() == 7 ? 0xFF000000u | value : value;
}

ColourOptions BuiltInColourOptions() {
  ColourOptions options;
  options.presets = kBuiltInPresets;
  return options;
}

ColourOptions ColourOptionsFromDocument(const Json::Value& document,
                                        const ColourOptions& fallback) {
  const Json::Value& info = Member(document, kInfoKey);
  if (!info.isObject()) return fallback;
  ColourOptions options = fallback;

  const Json::Value& presets = Member(info, kPresetsKey);
  if (presets.isArray()) {
    for (int i = 0; i < kPresetColourCount; ++i) {
      if (const std::optional<uint32_t> colour = ColourOf(Element(presets, i))) {
        options.presets[i] = *colour;
      }
    }
  }
  options.selected_preset = SelectionOf(info, kPresetSelectKey, kPresetColourCount, 0);

  const Json::Value& collected = Member(info, kCollectedKey);
  if (collected.isArray()) {
    options.collected.clear();
    for (const Json::Value& entry : collected) {
      if (static_cast<int>(options.collected.size()) >= kCollectedColourLimit) break;
      const std::optional<uint32_t> colour = ColourOf(entry);
      if (!colour) continue;
      const Json::Value& user_data = Member(entry, kUserDataKey);
      options.collected.push_back(
          {*colour, user_data.isString() ? user_data.asString() : ArgbText(*colour)});
    }
    const int count = static_cast<int>(options.collected.size());
    options.selected_collected = SelectionOf(info, kCollectedSelectKey, count, count > 0 ? 0 : -1);
  } else {
    const int count = static_cast<int>(options.collected.size());
    if (options.selected_collected >= count) options.selected_collected = count > 0 ? 0 : -1;
  }
  return options;
}

Json::Value WithColourOptions(Json::Value document, const ColourOptions& options) {
  if (!document.isObject()) document = Json::Value(Json::objectValue);
  Json::Value info(Json::objectValue);
  Json::Value& presets = info[kPresetsKey] = Json::Value(Json::arrayValue);
  for (uint32_t colour : options.presets) {
    Json::Value entry(Json::objectValue);
    entry[kColourKey] = ArgbText(colour);
    presets.append(entry);
  }
  info[kPresetSelectKey] = options.selected_preset;
  Json::Value& collected = info[kCollectedKey] = Json::Value(Json::arrayValue);
  for (const CollectedColour& colour : options.collected) {
    Json::Value entry(Json::objectValue);
    entry[kColourKey] = ArgbText(colour.argb);
    entry[kUserDataKey] = colour.user_data;
    collected.append(entry);
  }
  info[kCollectedSelectKey] = options.selected_collected;
  document[kInfoKey] = info;
  return document;
}

bool AddCollectedColour(ColourOptions& options, uint32_t argb, std::string user_data) {
  const auto same = std::find_if(options.collected.begin(), options.collected.end(),
                                 [argb](const CollectedColour& c) { return c.argb == argb; });
  if (same != options.collected.end()) {
    options.selected_collected = static_cast<int>(same - options.collected.begin());
    return true;
  }
  if (static_cast<int>(options.collected.size()) >= kCollectedColourLimit) return false;
  if (user_data.empty()) user_data = ArgbText(argb);
  options.collected.push_back({argb, std::move(user_data)});
  options.selected_collected = static_cast<int>(options.collected.size()) - 1;
  return true;
}

bool RemoveCollectedColour(ColourOptions& options, int index) {
  const int count = static_cast<int>(options.collected.size());
  if (index < 0 || index >= count) return false;
  options.collected.erase(options.collected.begin() + index);
  const int left = count - 1;
  if (left == 0) {
    options.selected_collected = -1;
  } else if (options.selected_collected > index || options.selected_collected >= left) {
    options.selected_collected = std::max(0, options.selected_collected - 1);
  }
  return true;
}

std::string UserColourOptionsPath(const ProfileFolders& folders) {
  std::string path = folders.user_data_root;
  if (!path.empty() && path.back() != '/') path += '/';
  return path + std::string(kColourOptionsFileName);
}

std::string DefaultColourOptionsPath(const ProfileFolders& folders) {
  return DefaultDataFolder(folders) + std::string(kColourOptionsFileName);
}

ColourOptionStore::ColourOptionStore(std::filesystem::path user_file,
                                     std::filesystem::path default_file)
    : user_file_(std::move(user_file)), default_file_(std::move(default_file)) {}

ColourOptionStore::ColourOptionStore(const ProfileFolders& folders)
    : ColourOptionStore(UserColourOptionsPath(folders), DefaultColourOptionsPath(folders)) {}

ColourOptions ColourOptionStore::FactoryOptions(Json::Value* document) const {
  Json::Value factory = JsonFileIo::ReadJsonFile(default_file_);
  if (!Member(factory, kInfoKey).isObject()) {
    qCWarning(lcVorlin) << "factory colour options unusable:" << default_file_.c_str();
    factory = Json::Value();
  }
  const ColourOptions options = ColourOptionsFromDocument(factory, BuiltInColourOptions());
  if (document) *document = std::move(factory);
  return options;
}

ColourOptions ColourOptionStore::Load() {
  std::error_code error;
  const bool user_file_exists = std::filesystem::exists(user_file_, error) && !error;
  Json::Value factory_document;
  const ColourOptions factory = FactoryOptions(&factory_document);
  if (user_file_exists) {
    const Json::Value document = JsonFileIo::ReadJsonFile(user_file_);
    if (!Member(document, kInfoKey).isObject()) {
      qCWarning(lcVorlin) << "colour options unreadable, using the factory ones:"
                          << user_file_.c_str();
    }
    return ColourOptionsFromDocument(document, factory);
  }
  // First use: the user's file starts as a copy of the factory file.
  if (!factory_document.isNull()) {
    std::filesystem::create_directories(user_file_.parent_path(), error);
    if (!JsonFileIo::WriteJsonFile(user_file_, factory_document)) {
      qCWarning(lcVorlin) << "cannot write" << user_file_.c_str();
    }
  }
  return factory;
}

bool ColourOptionStore::Save(const ColourOptions& options) {
  Json::Value document = JsonFileIo::ReadJsonFile(user_file_);
  if (WritingLosesContent(user_file_)) {
    if (KeepUnreadableDocument(user_file_).empty()) {
      qCWarning(lcVorlin) << "colour options not saved: cannot keep the unreadable"
                          << user_file_.c_str();
      return false;
    }
    document = Json::Value();
  }
  std::error_code error;
  std::filesystem::create_directories(user_file_.parent_path(), error);
  if (!JsonFileIo::WriteJsonFile(user_file_, WithColourOptions(std::move(document), options))) {
    qCWarning(lcVorlin) << "cannot write" << user_file_.c_str();
    return false;
  }
  return true;
}

}  // namespace vorlin
