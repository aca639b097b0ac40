// Profile documents come from disk and from imported files: reading one, taking every record out
// of its device entry and writing the records back must never crash, and what is written must
// read back as the same records.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "profiles/hs6533_profile_data.h"
#include "profiles/json_access.h"
#include "profiles/json_file_io.h"
#include "profiles/keyboard_profile_data.h"
#include "profiles/light_record_codec.h"
#include "profiles/mouse_profile_data.h"

namespace {

using namespace vorlin;

void Check(bool condition) {
  if (!condition) std::abort();
}

template <typename Get, typename Set>
void CheckWriteBack(Get get, Set set) {
  const auto read = get();
  set(read);
  Check(get() == read);
}

void ExerciseMouse(const Json::Value& entry) {
  CMouseProfiledata mouse;
  mouse.AdoptDeviceEntry(entry);
  CheckWriteBack([&] { return mouse.GetLightSettings(); },
                 [&](const LightSettings& s) { mouse.SetLightSettings(s); });
  CheckWriteBack([&] { return mouse.GetAudioLightSettings(); },
                 [&](const AudioLightSettings& s) { mouse.SetAudioLightSettings(s); });
  CheckWriteBack([&] { return mouse.GetMouseSettings(); },
                 [&](const MouseSystemSettings& s) { mouse.SetMouseSettings(s); });
  CheckWriteBack([&] { return mouse.GetDpiStages(); },
                 [&](const std::vector<DpiStage>& s) { mouse.SetDpiStages(s); });
  mouse.SetCurrentDpiStage(mouse.GetCurrentDpiStage());
  const std::vector<KeyAssignmentPair> keys = mouse.GetKeyList();
  mouse.SetKeyList(keys);
  const std::vector<KeyAssignmentPair> keys_again = mouse.GetKeyList();
  Check(keys_again.size() == keys.size());
  for (size_t i = 0; i < keys.size(); ++i) Check(keys_again[i].current == keys[i].current);
  mouse.GetLightList();
  mouse.SetKeyIndexMap({{0, 0}, {1, 170}, {2, 255}, {3, -1}});
  mouse.GetDeviceKeyList();

  // The entry as changed is written in the styled form, which must parse again.
  const std::string text = JsonFileIo::StyledText(mouse.GetDeviceEntry());
  Check(!JsonFileIo::ParseJsonText(text).isNull() || mouse.GetDeviceEntry().isNull());
}

void ExerciseKeyboard(const Json::Value& entry) {
  CKeyboardProfiledata keyboard;
  keyboard.AdoptDeviceEntry(entry);
  CheckWriteBack([&] { return keyboard.GetKeyboardSettings(); },
                 [&](const KeyboardSystemSettings& s) { keyboard.SetKeyboardSettings(s); });
  const int group = keyboard.GetCustomGroupIndex();
  keyboard.SetCustomGroupIndex(group);
  for (int g : {0, 1, group}) {
    CheckWriteBack(
        [&] { return keyboard.GetCustomLightColors(g, 8); },
        [&](const std::vector<CustomLightColor>& c) { keyboard.SetCustomLightColors(c, g); });
  }
}

void ExerciseHeadset(const Json::Value& entry) {
  CHs6533Profiledata headset;
  headset.AdoptDeviceEntry(entry);
  CheckWriteBack([&] { return headset.GetHeadsetSettings(); },
                 [&](const HeadsetSystemSettings& s) { headset.SetHeadsetSettings(s); });
  CheckWriteBack([&] { return headset.GetCustomPresetNames(); },
                 [&](const std::vector<std::string>& n) { headset.SetCustomPresetNames(n); });
  for (int preset : {0, 1, 7, 12, 13, 14, -1}) {
    const std::vector<int> values = headset.GetPresetValues(preset);
    Check(values.size() == (preset == 13 ? 0u : 10u));
    if (values.size() == kEqBandCount) {
      EqBands bands{};
      std::copy(values.begin(), values.end(), bands.begin());
      headset.SetPresetValues(preset, bands);
      Check(headset.GetPresetValues(preset) == values);
    }
  }
  for (int index : {0, 3}) {
    const std::vector<int> values = headset.GetCustomPresetValues(index);
    Check(values.size() == kEqBandCount);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Json::Value document = JsonFileIo::ParseJsonText(text);
  // A whole profile document, or a bare device entry.
  const Json::Value& device = Element(Member(document, "Device"), 0);
  const Json::Value& entry = device.isNull() ? document : device;
  ExerciseMouse(entry);
  ExerciseKeyboard(entry);
  ExerciseHeadset(entry);
  // Light effect files and the light configuration go through the same codecs.
  ReadLightEffectSteps(document);
  ReadLightList(Member(entry, "LightList"));
  return 0;
}
