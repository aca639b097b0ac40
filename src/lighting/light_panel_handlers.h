#pragma once

// What the lighting panel's controls do to the device of its page. The page binds the panel's
// controls to these handlers once (BindLightPanel), with the device's lighting (a
// LightingControl); each change takes the device's settings, changes them and hands them back
// in one call, which keeps them in the profile, previews them and writes them to the device:
//
//   effect list, brightness, speed, direction, multi-colour:  the device leaves the synchronised
//       lighting first
//   colour edits (on losing focus), palette:                  the colour, the multi-colour flag
//       off, leaving the synchronised lighting; the panel shows the colour everywhere
//   synchronised-mode list:                                   the synchronised mode (the device
//       stays in the synchronised lighting)
//   preset colours "color_option_"n:                          as the palette, staying in it
//   music style, music multi-colour, colour side, music edits, music palette, music presets
//   "audiocolor_option_"n, "Close_bkColor_btn" (background off):
//       the music settings read back from the panel, changed and handed to the device; the panel
//       shows the result
//
// The colour buttons are not handled here: the panel announces their clicks with its signals
// colourButtonClicked / audioColourButtonClicked, where the colour window opens. The keyboard's
// custom group list ("light_combo_custommodeSelect") needs the keyboard itself and is left to the
// keyboard's page.

#include <cstdint>

#include "ui/notification.h"

namespace vorlin {

class CLightControlUI;
class ControlBindings;
class LightingControl;

// Binds the handlers of `panel`'s controls to `bindings`, working on `target` (both must outlive
// the bindings' use). A music operation that finds the panel's layout incomplete is logged and
// changes nothing on the device.
void BindLightPanel(ControlBindings& bindings, CLightControlUI& panel, LightingControl& target);

// Makes `argb` the device's light colour (multi-colour off) and shows it on the panel: the edits,
// the palette and the colour button. `clear_hold` first lets the device leave the synchronised
// lighting. Used by the palette, the presets and the colour window.
void StoreLightColour(CLightControlUI& panel, LightingControl& target, uint32_t argb,
                      bool clear_hold);

}  // namespace vorlin
