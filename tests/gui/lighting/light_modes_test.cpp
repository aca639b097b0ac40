// The effect tables of the lighting panel, as data: for a light type and an effect, which groups
// are on, off, shown and hidden, the direction captions and the colour page.
#include "lighting/light_modes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

namespace vorlin {
namespace {

// Parts by the letters of the tables: E effect, M multi-colour, C colour, P palette,
// L brightness, S speed, F direction, U custom groups, Z colour scheme, A music style,
// K colour area, Q same mode.
constexpr char kLetters[] = "EMCPLSFUZAKQ";  // in LightPart order

LightPart PartOf(char letter) {
  const char* at = std::strchr(kLetters, letter);
  if (!at || *at == '\0') {
    ADD_FAILURE() << "no part " << letter;
    return LightPart::kEffect;
  }
  return static_cast<LightPart>(at - kLetters);
}

constexpr DirectionLabels kRightLeft{"light_set_right_to_left_text",
                                     "light_set_left_to_right_text"};
constexpr DirectionLabels kClockwise{"light_set_clockwise_text", "light_set_anticlockwise_text"};
constexpr DirectionLabels kDownUp{"light_set_down_to_up_text", "light_set_up_to_down_text"};
constexpr DirectionLabels kUpDown{"light_set_up_to_down_text", "light_set_down_to_up_text"};
constexpr DirectionLabels kOutsideIn{"light_set_outside_to_inside_text",
                                     "light_set_inside_to_outside_text"};

struct Expect {
  const char* on = "";
  const char* off = "";
  const char* shown = "";
  const char* hidden = "";
  std::optional<DirectionLabels> labels;
  std::optional<int> page;
};

LightModeView ViewOf(const Expect& e) {
  LightModeView view;
  for (const char* c = e.on; *c; ++c) view[PartOf(*c)].enabled = true;
  for (const char* c = e.off; *c; ++c) view[PartOf(*c)].enabled = false;
  for (const char* c = e.shown; *c; ++c) view[PartOf(*c)].shown = true;
  for (const char* c = e.hidden; *c; ++c) view[PartOf(*c)].shown = false;
  view.labels = e.labels;
  view.colour_page = e.page;
  return view;
}

struct Case {
  int type;
  int mode;
  Expect expect;
};

std::string Describe(const LightModeView& view) {
  std::string out;
  for (std::size_t i = 0; i < kLightPartCount; ++i) {
    const LightPartState& s = view.parts[i];
    out += kLetters[i];
    out += s.enabled ? (*s.enabled ? "+" : "-") : ".";
    out += s.shown ? (*s.shown ? "v" : "h") : ".";
    out += ' ';
  }
  if (view.labels) out += std::string(view.labels->left_option) + "/" + view.labels->right_option;
  if (view.colour_page) out += " page " + std::to_string(*view.colour_page);
  return out;
}

const Case kCases[] = {
    // Light type 1 (keyboard, mouse pad).
    {1, 1, {"EMCPLSFK", "", "S", "UQZA", kRightLeft, 0}},
    {1, 2, {"EMCPLSFK", "", "S", "UQZA", kRightLeft, 0}},
    {1, 3, {"EMCPLSFK", "", "S", "UQZA", kClockwise, 0}},
    {1, 4, {"ELS", "MCPFK", "S", "UQZA", kRightLeft, 0}},
    {1, 26, {"ELS", "MCPFK", "S", "UQZA", kRightLeft, 0}},
    {1, 9, {"EMCPLSK", "F", "S", "UQZA", kRightLeft, 0}},
    {1, 25, {"EMCPLSK", "F", "S", "UQZA", kRightLeft, 0}},
    {1, 6, {"EMCPLK", "FS", "S", "UQZA", kRightLeft, 0}},
    {1, 12, {"ELSFK", "MCP", "S", "UQZA", kDownUp, 0}},
    {1, 16, {"EMCPLK", "FS", "S", "UQZA", kRightLeft, 0}},
    // Speed stays on while hidden; the colour scheme list appears.
    {1, 17, {"ELS", "MCPFK", "Z", "SUQA", kRightLeft, 0}},
    {1, 18, {"ELF", "MCPSK", "S", "UQZA", kOutsideIn, 0}},
    {1, 20, {"ECPLK", "MFS", "U", "SQZA", kRightLeft, 0}},
    {1, 21, {"EMCPLSFK", "", "S", "UQZA", kUpDown, 0}},
    {1, 24, {"EMCPLSFK", "", "S", "UQZA", kClockwise, 0}},
    {1, 27, {"ELSK", "MCPF", "S", "UQZA", kRightLeft, 0}},
    // "Off": only the effect list (and the colour area container) stays on.
    {1, 28, {"EK", "MCPFLS", "S", "UQZA", kRightLeft, 0}},
    // Music: the music style list and the music colour page.
    {1, 29, {"EMCPLFK", "S", "A", "SUQZ", kRightLeft, 1}},
    {1, 30, {"EL", "MCPFSK", "S", "UQZA", kRightLeft, 0}},
    {1, 0, {"EK", "MCPFLS", "S", "UQZA", kRightLeft, 0}},
    {1, 19, {"EK", "MCPFLS", "S", "UQZA", kRightLeft, 0}},
    {1, 31, {"EK", "MCPFLS", "S", "UQZA", kRightLeft, 0}},
    // Light type 2.
    {2, 0, {"EMCPLSF", "", "S", "AQ", kDownUp, 0}},
    {2, 5, {"EMCPLSF", "", "S", "AQ", kDownUp, 0}},
    {2, 7, {"ELS", "MCPF", "S", "AQ", kDownUp, 0}},
    {2, 6, {"EMCPLS", "F", "S", "AQ", kDownUp, 0}},
    {2, 3, {"ECPL", "MSF", "S", "AQ", kDownUp, 0}},
    {2, 10, {"E", "MCPLSF", "S", "AQ", kDownUp, 0}},
    {2, 11, {"EMCPLF", "S", "A", "SQ", kDownUp, 1}},
    {2, 9, {"E", "MCPLSF", "S", "AQ", kDownUp, 0}},
    // Light types 3, 4 and 7: the same-mode button where the effect allows it.
    {3, 0, {"EMCPLSF", "", "", "Q", std::nullopt, std::nullopt}},
    {4, 1, {"ELS", "MCPF", "Q", "", std::nullopt, std::nullopt}},
    {7, 2, {"EMCPLS", "F", "Q", "", std::nullopt, std::nullopt}},
    {3, 4, {"EMCPLS", "F", "Q", "", std::nullopt, std::nullopt}},
    {3, 3, {"ECPL", "MSF", "Q", "", std::nullopt, std::nullopt}},
    {4, 8, {"E", "MCPLSF", "Q", "", std::nullopt, std::nullopt}},
    {7, 5, {"E", "MCPLSF", "", "Q", std::nullopt, std::nullopt}},
    // Light type 5: no direction group at all.
    {5, 0, {"EMCPLS", "", "", "F", std::nullopt, std::nullopt}},
    {5, 3, {"EMCPLS", "", "", "F", std::nullopt, std::nullopt}},
    {5, 1, {"ECPL", "MS", "", "F", std::nullopt, std::nullopt}},
    {5, 4, {"ELS", "MCP", "", "F", std::nullopt, std::nullopt}},
    {5, 7, {"E", "MCPLS", "", "F", std::nullopt, std::nullopt}},
};

TEST(LightModesTest, ViewsFollowTheTables) {
  for (const Case& c : kCases) {
    SCOPED_TRACE("light type " + std::to_string(c.type) + ", mode " + std::to_string(c.mode));
    const LightModeView view = LightModeViewFor(c.type, c.mode);
    const LightModeView expected = ViewOf(c.expect);
    EXPECT_EQ(view, expected) << "got      " << Describe(view) << "\nexpected "
                              << Describe(expected);
  }
}

TEST(LightModesTest, UnknownLightTypesChangeNothing) {
  for (int type : {0, 6, 8, -1, 255}) {
    SCOPED_TRACE(type);
    EXPECT_FALSE(IsKnownLightType(type));
    EXPECT_EQ(LightModeViewFor(type, 1), LightModeView{});
  }
  for (int type : {1, 2, 3, 4, 5, 7}) EXPECT_TRUE(IsKnownLightType(type)) << type;
}

TEST(LightModesTest, TheEffectListStaysUsableAndTypesThreeFourSevenShareATable) {
  for (int type : {1, 2, 3, 4, 5, 7}) {
    for (int mode = 0; mode < 256; ++mode) {
      const LightModeView view = LightModeViewFor(type, mode);
      ASSERT_EQ(view[LightPart::kEffect].enabled, std::optional<bool>(true))
          << "type " << type << " mode " << mode;
      if (type == 4 || type == 7) {
        ASSERT_EQ(view, LightModeViewFor(3, mode)) << mode;
      }
    }
  }
}

TEST(LightModesTest, PartsNameTheirControls) {
  EXPECT_STREQ(LightPartControlName(LightPart::kEffect), "lighteffect_layout");
  EXPECT_STREQ(LightPartControlName(LightPart::kPalette), "colorpallet_layout");
  EXPECT_STREQ(LightPartControlName(LightPart::kSyncMode), "light_combo_ZZCCmodeSelectLayout");
  EXPECT_STREQ(LightPartControlName(LightPart::kAudioMode), "light_combo_AudiomodeSelectLayout");
  EXPECT_STREQ(LightPartControlName(LightPart::kColourArea), "light_color_layout");
  EXPECT_STREQ(LightPartControlName(LightPart::kSameMode), "deng_same_mode");
}

}  // namespace
}  // namespace vorlin
