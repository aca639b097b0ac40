#include "lighting/light_modes.h"

#include <cstring>
#include <initializer_list>
#include <vector>

namespace vorlin {
namespace {

using P = LightPart;

constexpr P E = P::kEffect;
constexpr P M = P::kMultiColour;
constexpr P C = P::kColour;
constexpr P Pl = P::kPalette;
constexpr P L = P::kBrightness;
constexpr P S = P::kSpeed;
constexpr P F = P::kDirection;
constexpr P U = P::kCustom;
constexpr P Z = P::kSyncMode;
constexpr P A = P::kAudioMode;
constexpr P K = P::kColourArea;
constexpr P Q = P::kSameMode;

constexpr const char* kPartNames[kLightPartCount] = {
    "lighteffect_layout",
    "deng_7color_check",
    "deng_color_layout",
    "colorpallet_layout",
    "deng_light_layout",
    "deng_speed_layout",
    "deng_fx_layout",
    "lightcustom_layout",
    "light_combo_ZZCCmodeSelectLayout",
    "light_combo_AudiomodeSelectLayout",
    "light_color_layout",
    "deng_same_mode",
};

constexpr DirectionLabels kRightLeft{"light_set_right_to_left_text",
                                     "light_set_left_to_right_text"};
constexpr DirectionLabels kClockwise{"light_set_clockwise_text", "light_set_anticlockwise_text"};
constexpr DirectionLabels kDownUp{"light_set_down_to_up_text", "light_set_up_to_down_text"};
constexpr DirectionLabels kUpDown{"light_set_up_to_down_text", "light_set_down_to_up_text"};
constexpr DirectionLabels kOutsideIn{"light_set_outside_to_inside_text",
                                     "light_set_inside_to_outside_text"};

// A small vocabulary for the tables: On/Off set the enabled state, Show/Hide the visibility;
// views combine with +, the right-hand side winning where both set a state.
LightModeView On(std::initializer_list<P> parts) {
  LightModeView view;
  for (P part : parts) view[part].enabled = true;
  return view;
}
LightModeView Off(std::initializer_list<P> parts) {
  LightModeView view;
  for (P part : parts) view[part].enabled = false;
  return view;
}
LightModeView Show(std::initializer_list<P> parts) {
  LightModeView view;
  for (P part : parts) view[part].shown = true;
  return view;
}
LightModeView Hide(std::initializer_list<P> parts) {
  LightModeView view;
  for (P part : parts) view[part].shown = false;
  return view;
}
LightModeView Labels(DirectionLabels labels) {
  LightModeView view;
  view.labels = labels;
  return view;
}
LightModeView Page(int page) {
  LightModeView view;
  view.colour_page = page;
  return view;
}

LightModeView operator+(LightModeView base, const LightModeView& over) {
  for (std::size_t i = 0; i < kLightPartCount; ++i) {
    if (over.parts[i].enabled) base.parts[i].enabled = over.parts[i].enabled;
    if (over.parts[i].shown) base.parts[i].shown = over.parts[i].shown;
  }
  if (over.labels) base.labels = over.labels;
  if (over.colour_page) base.colour_page = over.colour_page;
  return base;
}

struct ModeRow {
  std::vector<int> modes;
  LightModeView view;
};

struct ModeTable {
  LightModeView common;
  std::vector<ModeRow> rows;
  LightModeView other;  // every mode no row names
};

// The effect list is always usable, whatever the effect.
const LightModeView kEffectOn = On({E});

const ModeTable& TypeOneTable() {
  static const ModeTable table{
      kEffectOn + Hide({U, Q, Z, A}) + On({F, K}) + Show({S}) + Labels(kRightLeft) + Page(0),
      {
          {{1, 2}, On({M, C, Pl, L, S})},
          {{3}, On({M, C, Pl, L, S}) + Labels(kClockwise)},
          {{4, 11, 26}, Off({M, C, Pl, F, K}) + On({L, S})},
          {{5, 7, 8, 9, 10, 13, 14, 15, 22, 23, 25}, On({M, C, Pl, L, S}) + Off({F})},
          {{6}, On({C, M, Pl, L}) + Off({F, S})},
          {{12}, Off({M, C, Pl}) + On({L, S}) + Labels(kDownUp)},
          {{16}, On({M, C, Pl, L}) + Off({F, S})},
          {{17}, Off({M, C, Pl, F, K}) + On({L, S}) + Hide({S}) + Show({Z})},
          {{18}, Off({M, C, Pl, S, K}) + On({L, F}) + Labels(kOutsideIn)},
          {{20}, Off({M, F, S}) + On({C, Pl, L}) + Show({U}) + Hide({S})},
          {{21}, On({M, C, Pl, L, S}) + Labels(kUpDown)},
          {{24}, On({M, C, Pl, L, S}) + Labels(kClockwise)},
          {{27}, Off({M, C, Pl, F}) + On({L, S})},
          {{28}, Off({M, C, F, Pl, L, S})},
          {{29}, On({M, C, Pl, L}) + Off({S}) + Hide({S}) + Show({A}) + Page(1)},
          {{30}, Off({M, C, Pl, F, S, K}) + On({L})},
      },
      Off({M, C, Pl, F, L, S}),
  };
  return table;
}

const ModeTable& TypeTwoTable() {
  static const ModeTable table{
      kEffectOn + Hide({A, Q}) + Page(0) + Show({S}) + On({F}) + Labels(kDownUp),
      {
          {{0, 5}, On({M, C, Pl, L, S})},
          {{1, 7, 8}, Off({M, C, Pl, F}) + On({L, S})},
          {{2, 4, 6}, On({M, C, Pl, L, S}) + Off({F})},
          {{3}, On({C, Pl, L}) + Off({M, S, F})},
          {{10}, Off({M, C, Pl, L, S, F})},
          {{11}, On({M, C, Pl, L}) + Off({S}) + Hide({S}) + Show({A}) + Page(1)},
      },
      Off({M, C, Pl, L, S, F}),
  };
  return table;
}

// Light types 3, 4 and 7.
const ModeTable& TypeThreeTable() {
  static const ModeTable table{
      kEffectOn + Hide({Q}) + On({F}),
      {
          {{0}, On({M, C, Pl, L, S})},
          {{1}, Off({M, C, Pl, F}) + On({L, S}) + Show({Q})},
          {{2, 4}, On({M, C, Pl, L, S}) + Off({F}) + Show({Q})},
          {{3}, On({C, Pl, L}) + Off({M, S, F}) + Show({Q})},
          {{8}, Off({M, C, Pl, L, S, F}) + Show({Q})},
      },
      Off({M, C, Pl, L, S, F}),
  };
  return table;
}

// Light type 5 has no direction: its direction group stays out of sight.
const ModeTable& TypeFiveTable() {
  static const ModeTable table{
      kEffectOn + Hide({F}),
      {
          {{0, 2, 3}, On({M, C, Pl, L, S})},
          {{1}, On({C, Pl, L}) + Off({M, S})},
          {{4}, Off({M, C, Pl}) + On({L, S})},
      },
      Off({M, C, Pl, L, S}),
  };
  return table;
}

const ModeTable* TableFor(int light_type) {
  switch (light_type) {
    case 1:
      return &TypeOneTable();
    case 2:
      return &TypeTwoTable();
    case 3:
    case 4:
    case 7:
      return &TypeThreeTable();
    case 5:
      return &TypeFiveTable();
    default:
      return nullptr;
  }
}

}  // namespace

const char* LightPartControlName(LightPart part) {
  const auto index = static_cast<std::size_t>(part);
  return index < kLightPartCount ? kPartNames[index] : "";
}

bool DirectionLabels::operator==(const DirectionLabels& other) const {
  const auto same = [](const char* a, const char* b) {
    return a == b || (a && b && std::strcmp(a, b) == 0);
  };
  return same(left_option, other.left_option) && same(right_option, other.right_option);
}

bool IsKnownLightType(int light_type) {
  return TableFor(light_type) != nullptr;
}

LightModeView LightModeViewFor(int light_type, int mode) {
  const ModeTable* table = TableFor(light_type);
  if (!table) return {};
  for (const ModeRow& row : table->rows) {
    for (int row_mode : row.modes) {
      if (row_mode == mode) return table->common + row.view;
    }
  }
  return table->common + table->other;
}

}  // namespace vorlin
