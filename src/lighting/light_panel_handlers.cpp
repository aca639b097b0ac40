#include "lighting/light_panel_handlers.h"

#include <algorithm>
#include <optional>

#include <QAbstractButton>
#include <QLineEdit>
#include <QSize>
#include <QSlider>

#include "lighting/light_channel_text.h"
#include "lighting/light_control_ui.h"
#include "devices/device_capabilities.h"
#include "platform/log.h"
#include "profiles/light_records.h"
#include "ui/control_bindings.h"
#include "ui/controls.h"

namespace vorlin {
namespace {

enum class Channel { kRed, kGreen, kBlue };

uint8_t& ChannelOf(Channel channel, uint8_t& red, uint8_t& green, uint8_t& blue) {
  return channel == Channel::kRed ? red : channel == Channel::kGreen ? green : blue;
}

uint8_t Byte(int value) {
  return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

enum class PaletteUpdate { kKeep, kSet };

void StoreColour(CLightControlUI& panel, LightingControl& target, uint32_t argb, bool clear_hold,
                 PaletteUpdate palette) {
  LightSettings s = target.Lighting();
  s.red = static_cast<uint8_t>(argb >> 16);
  s.green = static_cast<uint8_t>(argb >> 8);
  s.blue = static_cast<uint8_t>(argb);
  s.multi_color = 0;
  target.SetLighting(s, clear_hold);
  panel.SetColourEdits(s.red, s.green, s.blue);
  panel.SetMultiColour(false);
  const uint32_t colour = OpaqueColour(s.red, s.green, s.blue);
  // The palette that picked the colour keeps its own marker.
  if (palette == PaletteUpdate::kSet) panel.SetPaletteColour(colour);
  panel.SetColourButton(colour);
}

// A change of the music settings: read back from the panel (with the colour button's colour in
// the selected side when asked), changed, then into the device and shown. A panel without the
// controls this needs changes nothing.
template <typename Change>
void StoreAudio(CLightControlUI& panel, LightingControl& target, bool store_button_colour,
                Change change) {
  AudioLightSettings s;
  try {
    s = panel.GetAudioLight(target.AudioLighting(), store_button_colour);
    change(s);
  } catch (const LightPanelError& error) {
    qCWarning(lcVorlin).noquote() << "lighting panel:" << error.what();
    return;
  }
  target.SetAudioLighting(s);
  try {
    panel.SetAudioLight(s);
  } catch (const LightPanelError& error) {
    // The device has the settings; only the panel cannot show them.
    qCWarning(lcVorlin).noquote() << "lighting panel:" << error.what();
  }
}

void SetSideColour(AudioLightSettings& s, uint32_t argb) {
  if (s.color_side == 1) {
    s.fg_red = static_cast<uint8_t>(argb >> 16);
    s.fg_green = static_cast<uint8_t>(argb >> 8);
    s.fg_blue = static_cast<uint8_t>(argb);
  } else {
    s.bk_red = static_cast<uint8_t>(argb >> 16);
    s.bk_green = static_cast<uint8_t>(argb >> 8);
    s.bk_blue = static_cast<uint8_t>(argb);
  }
}

// ---- The controls of the effect ----

void OnMode(CLightControlUI& panel, LightingControl& target) {
  const int mode = panel.GetMode();
  if (mode < 0) return;  // the list was emptied
  LightSettings s = target.Lighting();
  panel.ApplyMode(mode);
  s.mode = Byte(mode);
  target.SetLighting(s, true);
}

void OnSyncMode(CLightControlUI& panel, LightingControl& target) {
  const int sync_mode = panel.GetSyncMode();
  LightSettings s = target.Lighting();
  panel.SetSyncMode(sync_mode);
  s.sync_mode = Byte(sync_mode);
  target.SetLighting(s, false);
}

void OnSlider(const Notification& n, bool brightness, CLightControlUI& panel,
              LightingControl& target) {
  auto* slider = qobject_cast<QSlider*>(n.sender);
  if (!slider) return;
  const int value = slider->value();
  LightSettings s = target.Lighting();
  if (brightness) {
    panel.SetBrightness(value);
    s.brightness = Byte(value);
  } else {
    panel.SetSpeed(value);
    s.speed = Byte(value);
  }
  target.SetLighting(s, true);
}

void OnDirection(const Notification& n, int direction, CLightControlUI& panel,
                 LightingControl& target) {
  // Both options of the pair report a change; the one now selected tells the direction.
  if (!IsSelected(qobject_cast<QAbstractButton*>(n.sender))) return;
  panel.SetDirection(direction);
  LightSettings s = target.Lighting();
  s.direction = Byte(direction);
  target.SetLighting(s, true);
}

void OnMultiColour(const Notification& n, CLightControlUI& panel, LightingControl& target) {
  const bool on = IsSelected(qobject_cast<QAbstractButton*>(n.sender));
  panel.SetMultiColour(on);
  LightSettings s = target.Lighting();
  s.multi_color = on ? 1 : 0;
  target.SetLighting(s, true);
}

void OnColourEdit(const Notification& n, Channel channel, CLightControlUI& panel,
                  LightingControl& target) {
  auto* edit = qobject_cast<QLineEdit*>(n.sender);
  if (!edit) return;
  const ChannelInput input = ParseColourChannel(edit->text());
  if (input.corrected_text) edit->setText(*input.corrected_text);
  LightSettings s = target.Lighting();
  ChannelOf(channel, s.red, s.green, s.blue) = Byte(input.value);
  s.multi_color = 0;
  target.SetLighting(s, true);
  panel.SetMultiColour(false);
  const uint32_t colour = OpaqueColour(s.red, s.green, s.blue);
  panel.SetPaletteColour(colour);
  panel.SetColourButton(colour);
}

// ---- The music lighting's controls ----

void OnAudioColourEdit(const Notification& n, Channel channel, CLightControlUI& panel,
                       LightingControl& target) {
  auto* edit = qobject_cast<QLineEdit*>(n.sender);
  if (!edit) return;
  const uint8_t v = Byte(ParseColourChannel(edit->text()).value);
  StoreAudio(panel, target, false, [&](AudioLightSettings& s) {
    if (s.color_side == 1) {
      ChannelOf(channel, s.fg_red, s.fg_green, s.fg_blue) = v;
      s.multi_color = 0;
    } else {
      ChannelOf(channel, s.bk_red, s.bk_green, s.bk_blue) = v;
    }
  });
}

void OnAudioPalette(CLightControlUI& panel, LightingControl& target) {
  StoreAudio(panel, target, true, [&panel](AudioLightSettings& s) {
    const uint32_t colour = panel.GetAudioPaletteColour();
    const AudioLightSettings before = s;
    SetSideColour(s, colour);
    if (s.fg_red != before.fg_red || s.fg_green != before.fg_green || s.fg_blue != before.fg_blue)
      s.multi_color = 0;
  });
}

void OnColourSide(const Notification& n, CLightControlUI& panel, LightingControl& target) {
  // The pair's other option reports the change too.
  if (!IsSelected(qobject_cast<QAbstractButton*>(n.sender))) return;
  StoreAudio(panel, target, false, [](AudioLightSettings&) {});
}

}  // namespace

void BindLightPanel(ControlBindings& bindings, CLightControlUI& panel, LightingControl& target) {
  using N = const Notification&;
  CLightControlUI* p = &panel;
  LightingControl* t = &target;
  // The panel builds its controls on first use; every control lies below it.
  p->Control(QStringLiteral("light_combo_modeSelect"));
  QWidget* root = p;
  bindings.Bind(root, "light_combo_modeSelect", notify::kItemSelect, [=](N) { OnMode(*p, *t); });
  bindings.Bind(root, "light_combo_ZZCCmodeSelect", notify::kItemSelect,
                [=](N) { OnSyncMode(*p, *t); });
  bindings.Bind(root, "deng_light_slider", notify::kValueChanged,
                [=](N n) { OnSlider(n, true, *p, *t); });
  bindings.Bind(root, "deng_speed_slider", notify::kValueChanged,
                [=](N n) { OnSlider(n, false, *p, *t); });
  bindings.Bind(root, "deng_FXL_check", notify::kSelectChanged,
                [=](N n) { OnDirection(n, 1, *p, *t); });
  bindings.Bind(root, "deng_FXR_check", notify::kSelectChanged,
                [=](N n) { OnDirection(n, 0, *p, *t); });
  bindings.Bind(root, "deng_7color_check", notify::kSelectChanged,
                [=](N n) { OnMultiColour(n, *p, *t); });
  const std::pair<const char*, Channel> edits[] = {
      {"deng_edit_R", Channel::kRed}, {"deng_edit_G", Channel::kGreen}, {"deng_edit_B", Channel::kBlue}};
  for (const auto& [name, channel] : edits) {
    bindings.Bind(root, name, notify::kKillFocus,
                  [=, c = channel](N n) { OnColourEdit(n, c, *p, *t); });
  }
  bindings.Bind(root, "deng_Color_Pallet", notify::kColorChanged, [=](N) {
    StoreColour(*p, *t, p->GetPaletteColour(), true, PaletteUpdate::kKeep);
  });
  bindings.BindNumbered(root, "color_option_", notify::kClick, [=](N, int number) {
    StoreColour(*p, *t, p->GetPresetColour(number), false, PaletteUpdate::kSet);
  });

  bindings.Bind(root, "light_combo_audiomodeSelect", notify::kItemSelect,
                [=](N) { StoreAudio(*p, *t, true, [](AudioLightSettings&) {}); });
  bindings.Bind(root, "deng_7audiocolor_check", notify::kSelectChanged,
                [=](N) { StoreAudio(*p, *t, true, [](AudioLightSettings&) {}); });
  for (const char* side : {"audio_BkColor_check", "audio_FgColor_check"}) {
    bindings.Bind(root, side, notify::kSelectChanged, [=](N n) { OnColourSide(n, *p, *t); });
  }
  const std::pair<const char*, Channel> audio_edits[] = {{"deng_audioedit_R", Channel::kRed},
                                                         {"deng_audioedit_G", Channel::kGreen},
                                                         {"deng_audioedit_B", Channel::kBlue}};
  for (const auto& [name, channel] : audio_edits) {
    bindings.Bind(root, name, notify::kKillFocus,
                  [=, c = channel](N n) { OnAudioColourEdit(n, c, *p, *t); });
  }
  bindings.Bind(root, "deng_audioColor_Pallet", notify::kColorChanged,
                [=](N) { OnAudioPalette(*p, *t); });
  bindings.BindNumbered(root, "audiocolor_option_", notify::kClick, [=](N, int number) {
    const uint32_t colour = p->GetAudioPresetColour(number);
    StoreAudio(*p, *t, true, [colour](AudioLightSettings& s) {
      SetSideColour(s, colour);
      if (s.color_side == 1) s.multi_color = 0;
    });
  });
  bindings.Bind(root, "Close_bkColor_btn", notify::kClick, [=](N) {
    StoreAudio(*p, *t, true, [](AudioLightSettings& s) {
      s.bk_red = 0;
      s.bk_green = 0;
      s.bk_blue = 0;
    });
  });
}

void StoreLightColour(CLightControlUI& panel, LightingControl& target, uint32_t argb,
                      bool clear_hold) {
  StoreColour(panel, target, argb, clear_hold, PaletteUpdate::kSet);
}

}  // namespace vorlin
