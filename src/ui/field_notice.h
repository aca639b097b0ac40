#pragma once

// Tells the user, next to the field, what became of what was typed into it ("Rounded to 1600 DPI
// (steps of 50)", "DPI must be between 100 and 26000"). The notice shows as a tip at the field
// and stays in the field's "fieldNotice" property and accessible description until the next
// notice or until the field is typed into again.

#include <QString>

class QLineEdit;
class QWidget;

namespace vorlin {

// An empty `text` takes the field's notice back.
void ShowFieldNotice(QWidget* field, const QString& text);
QString FieldNotice(const QWidget* field);

// Number-only edits (controls.h, SetNumberOnly) when the user leaves them or presses Enter: a
// value beyond the edit's limits is set to the nearest limit, and text that is not a number
// gives back the value the edit had when it took the focus (NoteNumberField); each says so.
void NoteNumberField(QLineEdit* edit);
void TidyNumberField(QLineEdit* edit);

}  // namespace vorlin
