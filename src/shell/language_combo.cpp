#include "shell/language_combo.h"

#include <QComboBox>

#include "ui/controls.h"
#include "ui/notify_bridge.h"

namespace vorlin {

void FillLanguageCombo(QComboBox* combo, const std::vector<LanguageEntry>& entries,
                       int current_index) {
  if (!combo) return;
  NotificationBlocker quiet;  // clearing and filling moves the selection too
  combo->clear();
  for (const LanguageEntry& entry : entries) combo->addItem(entry.text);
  SelectItem(combo, current_index >= 0 && current_index < combo->count() ? current_index : -1,
             false);
}

}  // namespace vorlin
