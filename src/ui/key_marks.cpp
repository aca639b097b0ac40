#include "ui/key_marks.h"

namespace vorlin {

namespace {

void SetMarkFlag(KeyMarkTarget& key, MarkStyle style, bool hidden) {
  if (style == MarkStyle::kMouse) {
    key.SetSetMarkHidden(hidden);
  } else {
    key.SetUnsetMarkHidden(hidden);
  }
}

}  // namespace

void UpdateKeyMarks(KeyButtons keys, int selected, MarkStyle style,
                    const KeyUnchangedFn& unchanged) {
  for (int i = 0; i < static_cast<int>(keys.size()); ++i) {
    KeyMarkTarget* key = keys[i];
    if (!key) continue;
    if (key->IsMarked()) {
      if (unchanged(i)) {
        SetMarkFlag(*key, style, true);
        key->SetMarked(false);
      }
    } else if (i == selected) {
      SetMarkFlag(*key, style, false);
      key->SetMarked(true);
    }
  }
}

void ShowChangedKeys(KeyButtons keys, const KeyUnchangedFn& unchanged, UnsetMark unset) {
  for (int i = 0; i < static_cast<int>(keys.size()); ++i) {
    KeyMarkTarget* key = keys[i];
    if (!key) continue;
    key->SetSetMarkHidden(unchanged(i));
    if (unset == UnsetMark::kHide) key->SetUnsetMarkHidden(true);
    key->SetMarked(false);
  }
}

void ClearKeyMarks(KeyButtons keys, MarkStyle style) {
  for (KeyMarkTarget* key : keys) {
    if (!key) continue;
    key->SetSetMarkHidden(true);
    if (style == MarkStyle::kKeyboard) {
      key->SetUnsetMarkHidden(true);
      key->SetMarked(false);
    }
  }
}

}  // namespace vorlin
