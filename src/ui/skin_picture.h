#pragma once

// Pictures of the skin on labels: the skin's image (a name or a "file='...'" description) drawn
// at the label's logical size and the screen's pixel ratio, so vector artwork stays sharp at any
// window scale.

#include <QSize>
#include <QString>

class QLabel;
class QWidget;

namespace vorlin {

// Shows `description` on `label` at `size` (logical pixels); an empty description or a missing
// image clears the label's picture.
void ShowSkinPicture(QLabel* label, const QString& description, QSize size);

// Every label below `root` with a "picture" property shows that picture at `size`.
void ShowSkinPictures(QWidget* root, QSize size);

}  // namespace vorlin
