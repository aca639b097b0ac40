#pragma once

// The colour window's preset and collected colours, kept in "color_option_info.config":
//   { "coloroptioninfo": {
//       "palletDialogcoloroption": [ { "color": "#AARRGGBB" }, ... 20 presets ],
//       "palletDialogcoloroption_selectitem": <index of the preset last chosen>,
//       "palletDialogcollectcoloroption": [ { "color": "#AARRGGBB", "UserData": "..." }, ... ],
//       "palletDialogcollectcoloroption_selectitem": <index of the collected colour last chosen>
//   } }
// The factory copy lives in the install folder's DefaultData; the user's copy, one per user for
// every device kind, in the user data root. No widgets here: the colour window uses this.

#include <json/value.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "profiles/profile_folders.h"

namespace vorlin {

inline constexpr std::string_view kColourOptionsFileName = "color_option_info.config";
inline constexpr int kPresetColourCount = 20;
// The collected colours the window has room for; adding beyond that is refused.
inline constexpr int kCollectedColourLimit = 10;

// One collected colour: the colour and the text the window keeps with it (by default the
// colour's own "#AARRGGBB" text).
struct CollectedColour {
  uint32_t argb = 0xFF000000;
  std::string user_data;

  bool operator==(const CollectedColour&) const = default;
};

struct ColourOptions {
  std::array<uint32_t, kPresetColourCount> presets{};
  int selected_preset = 0;  // an index into presets
  std::vector<CollectedColour> collected;
  int selected_collected = -1;  // an index into collected; -1 when the collection is empty

  bool operator==(const ColourOptions&) const = default;
};

// "#AARRGGBB" in upper case.
std::string ArgbText(uint32_t argb);
// "#AARRGGBB" or "#RRGGBB" (opaque), hexadecimal digits in either case; nothing otherwise.
std::optional<uint32_t> ParseArgbText(std::string_view text);

// The options built into the program, for when neither the user's nor the factory file can be
// read: the shipped presets and an empty collection.
ColourOptions BuiltInColourOptions();

// The options a document holds. The document may have been damaged or edited by hand: a document
// without a "coloroptioninfo" object gives `fallback` whole; a preset that is missing or not a
// colour keeps the fallback's preset at its place; collected entries that are not objects with a
// colour are left out, and only the first kCollectedColourLimit are taken; a "UserData" that is
// not text becomes the colour's text; a selection that is not an index of its list becomes 0
// (presets) or 0 / -1 (collection, -1 when empty).
ColourOptions ColourOptionsFromDocument(const Json::Value& document, const ColourOptions& fallback);
// `document` (an empty object when it is not one) with "coloroptioninfo" replaced by `options`;
// other members stay.
Json::Value WithColourOptions(Json::Value document, const ColourOptions& options);

// Appends a collected colour and selects it. A colour already collected is selected instead of
// being added twice. False (nothing changes) when the collection is full.
bool AddCollectedColour(ColourOptions& options, uint32_t argb, std::string user_data = {});
// Removes collected colour `index` and keeps the selection on a neighbour; false when out of
// range.
bool RemoveCollectedColour(ColourOptions& options, int index);

// user data root + "/color_option_info.config"
std::string UserColourOptionsPath(const ProfileFolders& folders);
// install folder + "/DefaultData/color_option_info.config"
std::string DefaultColourOptionsPath(const ProfileFolders& folders);

// Reading and writing the user's file.
class ColourOptionStore {
 public:
  ColourOptionStore(std::filesystem::path user_file, std::filesystem::path default_file);
  explicit ColourOptionStore(const ProfileFolders& folders);

  // The user's options. When the user's file is missing, the factory file is read and, when it
  // is a document, written in its place (a crash-safe write). A user file that cannot be read or
  // has the wrong shape reads as the factory options (or the built-in ones) and stays untouched
  // until the next Save().
  ColourOptions Load();
  // Writes `options` into the user's file, keeping the file's other members. A file that could
  // not be read is first kept beside it ("<name>.unreadable-<time>") so nothing of it is lost.
  // False when the file could not be written (the old file then stays as it was).
  bool Save(const ColourOptions& options);

  const std::filesystem::path& UserFile() const { return user_file_; }
  const std::filesystem::path& DefaultFile() const { return default_file_; }

 private:
  // The factory options (built-in ones when the factory file is unusable) and the factory
  // document itself (null when unusable).
  ColourOptions FactoryOptions(Json::Value* document) const;

  std::filesystem::path user_file_;
  std::filesystem::path default_file_;
};

}  // namespace vorlin
