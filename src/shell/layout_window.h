#pragma once

#include <functional>
#include <memory>

#include <QDialog>
#include <QString>

namespace vorlin {

// A dialog built from a skin layout. A layout whose root is a dialog becomes the window itself;
// any other root is placed inside a new dialog. When the layout is missing or cannot be built,
// `fallback` (when given) builds the controls in code instead, so that a damaged skin still leaves
// the window usable; the result is null only without a fallback.
//
// The dialog has no Qt parent: the caller owns it. ShowOver() places it over its owner.
std::unique_ptr<QDialog> BuildLayoutDialog(
    const QString& layout, const std::function<std::unique_ptr<QDialog>()>& fallback);

// Keeps `dialog` above `owner`'s window (transient parent) and centres it there, or on the screen
// when there is no owner.
void PlaceOver(QDialog* dialog, QWidget* owner);

}  // namespace vorlin
