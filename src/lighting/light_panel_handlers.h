#pragma once

// What the lighting panel's controls do to the device of the selected page. The main window hands
// every notification of the page's panel to HandleLightPanelNotification together with the
// device (a LightingTarget); each change reads the device's settings, changes them, puts them back
// and has the device store and send them:
//
//   effect list, brightness, speed, direction, multi-colour:  clear the lighting hold, change the
//       light words, then SetLightWords, SaveProfile, ApplyLighting, WriteParamRecord(0, 0, 1,
//       screen width, screen height) ("store the words")
//   colour edits (on losing focus), palette:                  the colour into the words, the
//       multi-colour flag off, hold cleared, stored; the panel shows the colour everywhere
//   synchronised-mode list:                                   byte 11 of the words, stored (the
//       hold stays)
//   preset colours "color_option_"n:                          as the palette, the hold untouched
//   music style, music multi-colour, colour side, music edits, music palette, music presets
//   "audiocolor_option_"n, "Close_bkColor_btn" (background off):
//       the music settings read back from the panel, changed, then SetAudioLightSettings,
//       SaveProfile, ApplyLighting; the panel shows the result
//
// The colour buttons are not handled here: the panel announces their clicks with its signals
// colourButtonClicked / audioColourButtonClicked, where the colour window opens. The keyboard's
// custom group list ("light_combo_custommodeSelect") needs the keyboard itself and is left to the
// keyboard's page.

#include <cstdint>

#include "ui/notification.h"

namespace vorlin {

class CLightControlUI;
class LightingTarget;

// Carries out the notification of one of `panel`'s controls on `target`. False when the
// notification is not one of the panel's (another panel's control, another type, a control this
// does not handle). A music operation that finds the panel's layout incomplete is logged and
// changes nothing on the device.
bool HandleLightPanelNotification(const Notification& notification, CLightControlUI& panel,
                                  LightingTarget& target);

// Makes `argb` the device's light colour (multi-colour off) and shows it on the panel: the edits,
// the palette and the colour button. `clear_hold` first lets the device leave the synchronised
// lighting. Used by the palette, the presets and the colour window.
void StoreLightColour(CLightControlUI& panel, LightingTarget& target, uint32_t argb,
                      bool clear_hold);

}  // namespace vorlin
