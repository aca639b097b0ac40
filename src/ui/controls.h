#pragma once

#include <QString>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QListWidget;
class QStackedWidget;
class QWidget;

namespace vorlin {

// Helpers over the standard widgets that stand for the toolkit's control kinds. The state lives in
// the widgets themselves (and in dynamic properties), so these are functions, not new classes.

// Options: checkable buttons joined into exclusive groups by name within their window.
void SetOptionGroup(QAbstractButton* option, const QString& group);
QString OptionGroup(const QAbstractButton* option);
// Selects or clears an option. With notify false no "selectchanged" (for this option or for the
// option of its group that loses its selection) reaches the window.
void SetSelected(QAbstractButton* option, bool selected, bool notify = true);
bool IsSelected(const QAbstractButton* option);

// Combos: select an item, with or without "itemselect".
void SelectItem(QComboBox* combo, int index, bool notify = true);

// Tab layouts: show page `index`; false when out of range (the current page stays).
bool SelectTab(QStackedWidget* tabs, int index);
// Sizes a tab layout by the page shown instead of the tallest one, so no empty space hangs below
// a short page; it stays so whenever another page is shown, whoever shows it. Calling it again
// does nothing more.
void SizeByCurrentPage(QStackedWidget* tabs);

// Edits. A number-only edit accepts digits within [min, max] (typing is free within the range's
// length; the value is clamped when read). `max_chars` limits the text length (0 = no limit).
void SetNumberOnly(QLineEdit* edit, int min, int max);
void SetMaxChars(QLineEdit* edit, int max_chars);
// The edit's number clamped into its limits (when number-only), or `fallback` without digits.
int EditNumber(const QLineEdit* edit, int fallback = 0);
// Applies the layout's dynamic properties "numberonly", "minvalue", "maxvalue" and "maxchar" to
// every edit below `root`.
void ApplyEditLimits(QWidget* root);

// Lists with rows built from a row layout. The row becomes the item's widget.
void AddListRow(QListWidget* list, QWidget* row);
QWidget* AddListRowFromLayout(QListWidget* list, const QString& row_layout);
QWidget* ListRow(const QListWidget* list, int index);
void EnsureRowVisible(QListWidget* list, int index);

// Every control carries a user data string and an integer tag.
void SetUserData(QWidget* control, const QString& data);
QString UserData(const QWidget* control);
void SetTag(QWidget* control, int tag);
int Tag(const QWidget* control);

}  // namespace vorlin
