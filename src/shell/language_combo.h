#pragma once

#include <vector>

#include "shell/language_list.h"

class QComboBox;

namespace vorlin {

// Fills the settings window's language list ("Language_combox_info"): one item per language, its
// "Language_text", and selects `current_index` without a notification (the window hears only the
// user's own choice).
void FillLanguageCombo(QComboBox* combo, const std::vector<LanguageEntry>& entries,
                       int current_index);

}  // namespace vorlin
