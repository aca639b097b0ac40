#include "key_set/chosen_button.h"

#include <QLabel>

#include "key_set/key_set_control_ui.h"
#include "ui/translator.h"

namespace vorlin {

void ShowChosenButton(const CKeySetControlUI& panel, const QString& name) {
  auto* label = panel.Control<QLabel>("keyset_chosen_label");
  QWidget* hint = panel.Control("keyset_pick_hint");
  if (label) {
    label->setText(
        name.isEmpty()
            ? QString()
            : Translator::Instance().Text(QStringLiteral("keyset_chosen_text")).arg(name));
    label->setVisible(!name.isEmpty());
  }
  if (hint) hint->setVisible(name.isEmpty());
}

}  // namespace vorlin
