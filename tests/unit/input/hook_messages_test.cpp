// Which message each hook mode reports keys and mouse events as, and the registered names.

#include "input/hook_messages.h"

#include <gtest/gtest.h>

#include "input/input_event_mapping.h"

namespace vorlin {
namespace {

TEST(HookMessagesTest, KeyboardAndMouseMessageOfEachMode) {
  struct Case {
    int mode;
    std::optional<HookMessage> keyboard;
    std::optional<HookMessage> mouse;
  };
  const Case cases[] = {
      {1, HookMessage::kKeySingleKey, std::nullopt},
      {2, HookMessage::kKeyHitKey, std::nullopt},
      {4, HookMessage::kKeyKbMacro, HookMessage::kKeyMsMacro},
      {8, HookMessage::kKeyKbMacroPrevious, HookMessage::kKeyMsMacroPrevious},
      {16, HookMessage::kKeyKbMacroLater, HookMessage::kKeyMsMacroLater},
      {32, HookMessage::kKeyKbMacroSingle, HookMessage::kKeyMsMacroSingle},
      {256, HookMessage::kMouSingleKey, std::nullopt},
      {512, HookMessage::kMouHitKey, std::nullopt},
      {1024, HookMessage::kMouKbMacro, std::nullopt},
      {0, std::nullopt, std::nullopt},
      {3, std::nullopt, std::nullopt},
      {64, std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    EXPECT_EQ(KeyboardHookMessageOfMode(c.mode), c.keyboard);
    EXPECT_EQ(MouseHookMessageOfMode(c.mode), c.mouse);
  }
}

TEST(HookMessagesTest, RegisteredNames) {
  const std::pair<HookMessage, std::string_view> names[] = {
      {HookMessage::kKeySingleKey, "WM_HOOK_KEY_SINGLEKEY_MSG"},
      {HookMessage::kKeyHitKey, "WM_HOOK_KEY_HITKEY_MSG"},
      {HookMessage::kKeyKbMacro, "WM_HOOK_KEY_KBMACRO_MSG"},
      {HookMessage::kKeyMsMacro, "WM_HOOK_KEY_MSMACRO_MSG"},
      {HookMessage::kKeyKbMacroSingle, "WM_HOOK_KEY_KBMACROSINGLE_MSG"},
      {HookMessage::kKeyKbMacroPrevious, "WM_HOOK_KEY_KBMACROPREVIOUS_MSG"},
      {HookMessage::kKeyKbMacroLater, "WM_HOOK_KEY_KBMACROLATER_MSG"},
      {HookMessage::kMouSingleKey, "WM_HOOK_MOU_SINGLEKEY_MSG"},
      {HookMessage::kMouHitKey, "WM_HOOK_MOU_HITKEY_MSG"},
      {HookMessage::kMouKbMacro, "WM_HOOK_MOU_KBMACRO_MSG"},
      {HookMessage::kMouMsMacro, "WM_HOOK_MOU_MSMACRO_MSG"},
      {HookMessage::kKeyMsMacroSingle, "WM_HOOK_KEY_MSMACROSINGLE_MSG"},
      {HookMessage::kKeyMsMacroPrevious, "WM_HOOK_KEY_MSMACROPREVIOUS_MSG"},
      {HookMessage::kKeyMsMacroLater, "WM_HOOK_KEY_MSMACROLATER_MSG"},
  };
  for (const auto& [message, name] : names) EXPECT_EQ(HookMessageName(message), name);
}

}  // namespace
}  // namespace vorlin
