#include "pages/function_view.h"

namespace vorlin {

FunctionTabs FunctionTabsFor(int view, uint32_t kind) {
  switch (view) {
    case 2:
    case 6:
      return {0, 1};
    case 3:
    case 8:
      return {1, -1};
    case 4:
      if (kind == 1 || kind == 2) return {3, -1};
      return {0, 2};
    case 7:
      return {0, 2};
    case 5:
      return {2, -1};
    case kRecoilView:
      return {4, -1};
    default:
      return {0, 0};
  }
}

namespace {

constexpr FunctionTab kLightingTab{"deng_Op_tab", kLightingView, "function_tab_lighting"};
constexpr FunctionTab kKeysTab{"key_Op_tab", kKeysView, "function_tab_keys"};
constexpr FunctionTab kMacrosTab{"macro_Op_tab", kMacrosView, "function_tab_macros"};
constexpr FunctionTab kSettingsTab{"system_Op_tab", kSettingsView, "function_tab_settings"};
constexpr FunctionTab kPointerTab{"cursor_Op_tab", kPointerView, "function_tab_pointer"};
constexpr FunctionTab kRecoilTab{"shoot_Op_tab", kRecoilView, "function_tab_recoil"};

constexpr FunctionTab kMouseTabs[] = {kLightingTab, kKeysTab,    kMacrosTab,
                                      kRecoilTab,   kSettingsTab, kPointerTab};
constexpr FunctionTab kKeyboardTabs[] = {kLightingTab, kKeysTab, kMacrosTab, kSettingsTab};
constexpr FunctionTab kLightingOnly[] = {kLightingTab};

}  // namespace

std::span<const FunctionTab> FunctionTabsOf(DeviceFamily family) {
  switch (family) {
    case DeviceFamily::kMouse:
      return kMouseTabs;
    case DeviceFamily::kKeyboard:
      return kKeyboardTabs;
    default:
      return kLightingOnly;
  }
}

}  // namespace vorlin
