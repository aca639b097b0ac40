// A light effect file (Guid + ".light") holds the steps of one custom effect. Any text must read
// without a crash; there is one step per element of "LEDEffectList"; the steps played through the
// light configuration (read from disk) are the steps of the document parsed in memory; and the
// document written in the program's styled form reads back as the same steps.
#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "profiles/basic_profile_data.h"
#include "profiles/json_access.h"
#include "profiles/json_file_io.h"
#include "profiles/light_record_codec.h"

namespace {

using namespace vorlin;

void Check(bool condition) {
  if (!condition) std::abort();
}

class Scratch {
 public:
  Scratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "fuzz-effect-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    folder_ = pattern;
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
};

const Scratch& Folder() {
  static const Scratch scratch;
  return scratch;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Json::Value document = JsonFileIo::ParseJsonText(text);
  const std::vector<LightEffectStep> steps = ReadLightEffectSteps(document);
  const Json::Value& list = Member(document, "LEDEffectList");
  Check(steps.size() == (list.isArray() ? list.size() : 0u));
  for (const LightEffectStep& step : steps) Check(step.unused == decltype(step.unused){});

  // The styled form of the document reads as the same steps.
  if (!document.isNull())
    Check(ReadLightEffectSteps(JsonFileIo::ParseJsonText(JsonFileIo::StyledText(document))) ==
          steps);

  // Played through a light configuration that names the file.
  const std::filesystem::path effect = Folder().folder() / "effect.light";
  {
    std::ofstream out(effect, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  CBasicProfiledata profile;
  profile.SetLightConfigPath((Folder().folder() / "torva_light.config").string());
  profile.AdoptLightConfig(
      JsonFileIo::ParseJsonText(R"({"LightInfo": [[{"Guid": "effect", "LightName": "x"}]]})"));
  profile.SetLightSettings(LightSettings{});
  Check(profile.GetLightEffect() == steps);
  return 0;
}
