#pragma once

// What the lighting panel shows for an effect: which of its groups are enabled and visible, the
// captions of the two direction options and the page of the colour area. Every device kind has
// its own table (its "light type"), chosen by the device page. The tables are plain data, so they
// are tested without a window; CLightControlUI::ApplyMode puts a view on the controls.

#include <array>
#include <cstddef>
#include <optional>

namespace vorlin {

// The groups of the panel that an effect switches, in table order.
enum class LightPart {
  kEffect,       // "lighteffect_layout": the effect list
  kMultiColour,  // "deng_7color_check"
  kColour,       // "deng_color_layout": the three number edits and the colour button
  kPalette,      // "colorpallet_layout": the palette and the preset colours
  kBrightness,   // "deng_light_layout"
  kSpeed,        // "deng_speed_layout"
  kDirection,    // "deng_fx_layout"
  kCustom,       // "lightcustom_layout": the keyboard's custom colour groups
  kSyncMode,     // "light_combo_ZZCCmodeSelectLayout"
  kAudioMode,    // "light_combo_AudiomodeSelectLayout"
  kColourArea,   // "light_color_layout": the plain colour page
  kSameMode,     // "deng_same_mode": shown only while the page allows it
};
inline constexpr std::size_t kLightPartCount = 12;

// The control name of a part.
const char* LightPartControlName(LightPart part);

// The change an effect makes to one part; an empty field leaves that state as it is.
struct LightPartState {
  std::optional<bool> enabled;
  std::optional<bool> shown;
  bool operator==(const LightPartState&) const = default;
};

// Text keys of the captions of "deng_FXL_check" (direction 1) and "deng_FXR_check" (direction 0).
struct DirectionLabels {
  const char* left_option = nullptr;
  const char* right_option = nullptr;
  bool operator==(const DirectionLabels& other) const;
};

inline constexpr char kColourTabsName[] = "light_color_tablayout";

// The view of one effect: the states to set, the direction captions and the colour area's page
// (0 the plain colour, 1 the music colours) where the effect sets them.
struct LightModeView {
  std::array<LightPartState, kLightPartCount> parts{};
  std::optional<DirectionLabels> labels;
  std::optional<int> colour_page;

  const LightPartState& operator[](LightPart part) const {
    return parts[static_cast<std::size_t>(part)];
  }
  LightPartState& operator[](LightPart part) { return parts[static_cast<std::size_t>(part)]; }
  bool operator==(const LightModeView&) const = default;
};

// The light types that have a table: 1, 2, 3, 4, 5 and 7.
bool IsKnownLightType(int light_type);

// The view of effect `mode` for `light_type` (the type's common states overlaid by the effect's
// row). An unknown light type gives an empty view: nothing changes.
LightModeView LightModeViewFor(int light_type, int mode);

}  // namespace vorlin
