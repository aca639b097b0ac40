// The lighting documents that name effects: the light configuration "torva_light.config" (custom
// effects, read from the user's folder) and "default_light.json" (built-in modes). Any text must
// read without a crash; each list read matches the document's array for its light index; a
// configuration read from disk is the one parsed in memory; and an effect is only ever looked for
// under a plain file name in the configuration's own folder.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "profiles/basic_profile_data.h"
#include "profiles/json_access.h"
#include "profiles/json_file_io.h"
#include "profiles/light_name_lists.h"
#include "profiles/profile_folders.h"

namespace {

using namespace vorlin;

void Check(bool condition) {
  if (!condition) std::abort();
}

// A folder holding the configuration under test and one effect file, "known.light".
class Scratch {
 public:
  Scratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "fuzz-light-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    folder_ = pattern;
    std::ofstream(folder_ / "known.light") << R"({"LEDEffectList": [{"LEDREGMode": 1}, {}]})";
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  std::filesystem::path Config() const { return folder_ / "torva_light.config"; }

 private:
  std::filesystem::path folder_;
};

const Scratch& Folder() {
  static const Scratch scratch;
  return scratch;
}

constexpr Json::ArrayIndex kLightIndices = 5;  // the four kinds and one beyond
constexpr Json::ArrayIndex kMaxPositions = 64;

template <typename List>
void CheckListMatches(const std::optional<List>& list, const Json::Value& array) {
  Check(list.has_value() == array.isArray());
  if (list) Check(list->size() == array.size());
}

void ExerciseNames(const Json::Value& document) {
  for (Json::ArrayIndex index = 0; index < kLightIndices; ++index) {
    const Json::Value& modes = Element(Member(document, "DefaultLightName"), index);
    const auto defaults = ReadDefaultLightNames(document, index);
    CheckListMatches(defaults, modes);
    if (defaults) {
      for (Json::ArrayIndex mode = 0; mode < defaults->size(); ++mode)
        Check((*defaults)[mode].name == ReadString(modes[mode], "LightName"));
    }
    CheckListMatches(ReadAreaLightNames(document, index),
                     Element(Member(document, "AreaLightName"), index));
    CheckListMatches(ReadCustomLightNames(document, index),
                     Element(Member(document, "LightInfo"), index));
  }
}

void ExerciseEffectLookup(const Json::Value& config) {
  CBasicProfiledata data;
  data.SetLightConfigPath(Folder().Config().string());
  // No default path: the configuration's folder is the only place an effect can come from.
  data.AdoptLightConfig(config);
  const Json::ArrayIndex count =
      std::min(Element(Member(config, "LightInfo"), 0).size(), kMaxPositions);
  for (Json::ArrayIndex mode = 0; mode < std::max(count, 2u); ++mode) {
    const std::string guid = CustomEffectGuid(config, 0, mode);
    const std::string file = LightEffectFileName(guid);
    Check(file.empty() || (IsPlainFileName(file) && file == guid + ".light"));
    data.SetLightSettings(LightSettings{.mode = static_cast<uint8_t>(mode)});
    const std::vector<LightEffectStep> steps = data.GetLightEffect();
    // Only "known" names the folder's effect file.
    Check(steps.size() == (file == "known.light" ? 2u : 0u));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Json::Value document = JsonFileIo::ParseJsonText(text);
  ExerciseNames(document);
  ExerciseEffectLookup(document);

  // Read from disk, the configuration is the document parsed in memory.
  const std::filesystem::path config = Folder().Config();
  {
    std::ofstream out(config, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  CBasicProfiledata loader;
  Check(loader.LoadLightConfig(config.string()) == document);
  std::filesystem::remove(config);
  return 0;
}
