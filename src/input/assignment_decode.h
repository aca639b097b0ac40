#pragma once

// Showing a key's function in the key-assignment panel: which function item to select and what
// the controls of the code's kind show.

#include <optional>

#include "input/function_code.h"
#include "input/key_set_fields.h"
#include "input/panel_kind.h"

namespace vorlin {

struct DecodedAssignment {
  // The function item to select (and the tab page to show); none hides the panel, for codes the
  // panel cannot edit.
  std::optional<PanelKind> kind;
  // Set when showing the code corrected it (an unknown key or modifier is dropped); the panel
  // keeps this as its current code from then on.
  std::optional<FunctionCode> corrected_code;
};

// Fills the controls of `code`'s kind in `fields` (the others keep what they show) and picks the
// function item. `same_as_default` says that the whole current assignment (key index included)
// equals the default one; such a key shows as "default function". `macro_count` is the number
// of macros listed in the macro combo.
DecodedAssignment DecodeAssignment(FunctionCode code, bool same_as_default, int macro_count,
                                   KeySetFields& fields);

}  // namespace vorlin
