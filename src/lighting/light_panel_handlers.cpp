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
#include "ui/control_number.h"
#include "ui/controls.h"

namespace vorlin {
namespace {

enum class Channel { kRed, kGreen, kBlue };

std::optional<Channel> ChannelOfEdit(const QString& name, QLatin1StringView prefix) {
  if (!name.startsWith(prefix) || name.size() != prefix.size() + 1) return std::nullopt;
  switch (name.back().unicode()) {
    case u'R':
      return Channel::kRed;
    case u'G':
      return Channel::kGreen;
    case u'B':
      return Channel::kBlue;
    default:
      return std::nullopt;
  }
}

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

bool OnItemSelect(const QString& name, CLightControlUI& panel, LightingControl& target) {
  if (name == u"light_combo_modeSelect") {
    const int mode = panel.GetMode();
    if (mode < 0) return true;  // the list was emptied
    LightSettings s = target.Lighting();
    panel.ApplyMode(mode);
    s.mode = Byte(mode);
    target.SetLighting(s, true);
    return true;
  }
  if (name == u"light_combo_ZZCCmodeSelect") {
    const int sync_mode = panel.GetSyncMode();
    LightSettings s = target.Lighting();
    panel.SetSyncMode(sync_mode);
    s.sync_mode = Byte(sync_mode);
    target.SetLighting(s, false);
    return true;
  }
  if (name == u"light_combo_audiomodeSelect") {
    StoreAudio(panel, target, true, [](AudioLightSettings&) {});
    return true;
  }
  return false;
}

bool OnValueChanged(const Notification& n, CLightControlUI& panel, LightingControl& target) {
  auto* slider = qobject_cast<QSlider*>(n.sender);
  const QString name = n.SenderName();
  const bool brightness = name == u"deng_light_slider";
  if (!slider || (!brightness && name != u"deng_speed_slider")) return false;
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
  return true;
}

bool OnSelectChanged(const Notification& n, CLightControlUI& panel, LightingControl& target) {
  auto* option = qobject_cast<QAbstractButton*>(n.sender);
  if (!option) return false;
  const QString name = n.SenderName();
  if (name == u"deng_FXL_check" || name == u"deng_FXR_check") {
    // Both options of the pair report a change; the one now selected tells the direction.
    if (!IsSelected(option)) return true;
    const int direction = name == u"deng_FXL_check" ? 1 : 0;
    panel.SetDirection(direction);
    LightSettings s = target.Lighting();
    s.direction = Byte(direction);
    target.SetLighting(s, true);
    return true;
  }
  if (name == u"deng_7color_check") {
    const bool on = IsSelected(option);
    panel.SetMultiColour(on);
    LightSettings s = target.Lighting();
    s.multi_color = on ? 1 : 0;
    target.SetLighting(s, true);
    return true;
  }
  if (name == u"deng_7audiocolor_check") {
    StoreAudio(panel, target, true, [](AudioLightSettings&) {});
    return true;
  }
  if (name == u"audio_BkColor_check" || name == u"audio_FgColor_check") {
    if (!IsSelected(option)) return true;  // the pair's other option reports the change
    StoreAudio(panel, target, false, [](AudioLightSettings&) {});
    return true;
  }
  return false;
}

bool OnKillFocus(const Notification& n, CLightControlUI& panel, LightingControl& target) {
  auto* edit = qobject_cast<QLineEdit*>(n.sender);
  if (!edit) return false;
  const QString name = n.SenderName();
  if (const std::optional<Channel> channel = ChannelOfEdit(name, QLatin1String("deng_edit_"))) {
    const ChannelInput input = ParseColourChannel(edit->text());
    if (input.corrected_text) edit->setText(*input.corrected_text);
    LightSettings s = target.Lighting();
    const uint8_t v = Byte(input.value);
    ChannelOf(*channel, s.red, s.green, s.blue) = v;
    s.multi_color = 0;
    target.SetLighting(s, true);
    panel.SetMultiColour(false);
    const uint32_t colour = OpaqueColour(s.red, s.green, s.blue);
    panel.SetPaletteColour(colour);
    panel.SetColourButton(colour);
    return true;
  }
  if (const std::optional<Channel> channel =
          ChannelOfEdit(name, QLatin1String("deng_audioedit_"))) {
    const uint8_t v = Byte(ParseColourChannel(edit->text()).value);
    StoreAudio(panel, target, false, [&](AudioLightSettings& s) {
      if (s.color_side == 1) {
        ChannelOf(*channel, s.fg_red, s.fg_green, s.fg_blue) = v;
        s.multi_color = 0;
      } else {
        ChannelOf(*channel, s.bk_red, s.bk_green, s.bk_blue) = v;
      }
    });
    return true;
  }
  return false;
}

bool OnColourChanged(const QString& name, CLightControlUI& panel, LightingControl& target) {
  if (name == u"deng_Color_Pallet") {
    StoreColour(panel, target, panel.GetPaletteColour(), true, PaletteUpdate::kKeep);
    return true;
  }
  if (name == u"deng_audioColor_Pallet") {
    StoreAudio(panel, target, true, [&panel](AudioLightSettings& s) {
      const uint32_t colour = panel.GetAudioPaletteColour();
      const AudioLightSettings before = s;
      SetSideColour(s, colour);
      if (s.fg_red != before.fg_red || s.fg_green != before.fg_green || s.fg_blue != before.fg_blue)
        s.multi_color = 0;
    });
    return true;
  }
  return false;
}

bool OnClick(const QString& name, CLightControlUI& panel, LightingControl& target) {
  if (const std::optional<int> n = ControlNumber(name, QLatin1StringView("color_option_"))) {
    StoreColour(panel, target, panel.GetPresetColour(*n), false, PaletteUpdate::kSet);
    return true;
  }
  if (const std::optional<int> n = ControlNumber(name, QLatin1StringView("audiocolor_option_"))) {
    const uint32_t colour = panel.GetAudioPresetColour(*n);
    StoreAudio(panel, target, true, [colour](AudioLightSettings& s) {
      SetSideColour(s, colour);
      if (s.color_side == 1) s.multi_color = 0;
    });
    return true;
  }
  if (name == u"Close_bkColor_btn") {
    StoreAudio(panel, target, true, [](AudioLightSettings& s) {
      s.bk_red = 0;
      s.bk_green = 0;
      s.bk_blue = 0;
    });
    return true;
  }
  return false;
}

}  // namespace

bool HandleLightPanelNotification(const Notification& n, CLightControlUI& panel,
                                  LightingControl& target) {
  if (!n.sender || !panel.isAncestorOf(n.sender)) return false;
  const QString name = n.SenderName();
  if (n.Is(QString::fromLatin1(notify::kItemSelect))) return OnItemSelect(name, panel, target);
  if (n.Is(QString::fromLatin1(notify::kValueChanged))) return OnValueChanged(n, panel, target);
  if (n.Is(QString::fromLatin1(notify::kSelectChanged))) return OnSelectChanged(n, panel, target);
  if (n.Is(QString::fromLatin1(notify::kKillFocus))) return OnKillFocus(n, panel, target);
  if (n.Is(QString::fromLatin1(notify::kColorChanged))) return OnColourChanged(name, panel, target);
  if (n.Is(QString::fromLatin1(notify::kClick))) return OnClick(name, panel, target);
  return false;
}

void StoreLightColour(CLightControlUI& panel, LightingControl& target, uint32_t argb,
                      bool clear_hold) {
  StoreColour(panel, target, argb, clear_hold, PaletteUpdate::kSet);
}

}  // namespace vorlin
