#pragma once

#include <QString>

namespace vorlin {

class CKeySetControlUI;

// Which button the panel changes: "keyset_chosen_label" names the chosen button
// ("keyset_chosen_text", e.g. "Button: Left button"); while none is chosen (`name` empty) the
// label gives way to "keyset_pick_hint", which says how to choose one.
void ShowChosenButton(const CKeySetControlUI& panel, const QString& name);

}  // namespace vorlin
