#pragma once

#include <functional>
#include <span>

#include "ui/key_mark_target.h"

namespace vorlin {

// Which overlay marks a key on each device kind. The mouse shows selected and changed keys with
// the set-mark image; the keyboard shows the selected key with the unset-mark image (and changed
// keys with the set-mark image after ShowChangedKeys).
enum class MarkStyle { kMouse, kKeyboard };

// Whether key `index` still has its factory assignment.
using KeyUnchangedFn = std::function<bool(int index)>;

// The keys of a device picture in key order; a null entry is a key without a button (skipped).
using KeyButtons = std::span<KeyMarkTarget* const>;

// Selecting key `selected`: a marked key whose assignment is unchanged loses its mark; a marked
// changed key keeps it; the selected key, when not marked, gets it. Other keys are untouched.
void UpdateKeyMarks(KeyButtons keys, int selected, MarkStyle style,
                    const KeyUnchangedFn& unchanged);

// What ShowChangedKeys does with the unset-mark flag.
enum class UnsetMark { kHide, kKeep };

// Shows the set-mark on every changed key and hides it on unchanged ones, and clears the marks of
// the selection. The mouse's profile load keeps the unset-mark flag as it is (UnsetMark::kKeep).
void ShowChangedKeys(KeyButtons keys, const KeyUnchangedFn& unchanged,
                     UnsetMark unset = UnsetMark::kHide);

// Hides the marks: on the keyboard both overlays and the selection mark; on the mouse only the
// set-mark overlay (the selection mark stays).
void ClearKeyMarks(KeyButtons keys, MarkStyle style);

}  // namespace vorlin
