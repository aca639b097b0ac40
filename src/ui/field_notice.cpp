#include "ui/field_notice.h"

#include <QLineEdit>
#include <QToolTip>

#include "ui/translator.h"
#include "ui/typed_number.h"

namespace vorlin {

namespace {

constexpr char kNoticeProperty[] = "fieldNotice";
constexpr char kBeforeProperty[] = "_vorlin_number_before";
constexpr char kLimitedKey[] = "typed_number_limited_text";
constexpr char kRefusedKey[] = "typed_number_refused_text";

}  // namespace

void ShowFieldNotice(QWidget* field, const QString& text) {
  if (!field) return;
  field->setProperty(kNoticeProperty, text.isEmpty() ? QVariant() : QVariant(text));
  field->setAccessibleDescription(text);
  if (text.isEmpty()) return;
  if (auto* edit = qobject_cast<QLineEdit*>(field)) {
    // Typing again takes the notice back: it was about the earlier text.
    QObject::connect(
        edit, &QLineEdit::textEdited, edit,
        [edit] {
          edit->setProperty(kNoticeProperty, QVariant());
          edit->setAccessibleDescription(QString());
        },
        Qt::SingleShotConnection);
  }
  if (field->isVisible())
    QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), text, field);
}

QString FieldNotice(const QWidget* field) {
  return field ? field->property(kNoticeProperty).toString() : QString();
}

void NoteNumberField(QLineEdit* edit) {
  if (edit && edit->property("numberonly").toBool())
    edit->setProperty(kBeforeProperty, edit->text());
}

void TidyNumberField(QLineEdit* edit) {
  if (!edit || !edit->property("numberonly").toBool()) return;
  NumberRule rule;
  rule.min = edit->property("minvalue").toInt();
  rule.max = edit->property("maxvalue").toInt();
  const TypedNumber typed = CheckTypedNumber(edit->text().toStdString(), rule);
  const Translator& texts = Translator::Instance();
  switch (typed.verdict) {
    case TypedVerdict::kTaken:
    case TypedVerdict::kRounded:
      return;
    case TypedVerdict::kLimited:
      edit->setText(QString::number(typed.value));
      ShowFieldNotice(edit, texts.Text(QString::fromLatin1(kLimitedKey))
                                .arg(typed.value)
                                .arg(rule.min)
                                .arg(rule.max));
      return;
    case TypedVerdict::kNotANumber:
    case TypedVerdict::kOutOfRange:
      break;
  }
  // What the edit held before, when that was a number within the limits; else the lower limit.
  const TypedNumber before =
      CheckTypedNumber(edit->property(kBeforeProperty).toString().toStdString(), rule);
  const int kept = before.verdict == TypedVerdict::kTaken ? before.value : rule.min;
  edit->setText(QString::number(kept));
  ShowFieldNotice(
      edit, texts.Text(QString::fromLatin1(kRefusedKey)).arg(kept).arg(rule.min).arg(rule.max));
}

}  // namespace vorlin
