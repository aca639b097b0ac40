#pragma once

// The main window draws its own frame, so the window manager gives it no edges to drag: a grip at
// the right end of its status bar (the window's bottom right corner) lets the user make it larger
// (never smaller than its minimum size), and the page's panels and picture take the room.

class QSizeGrip;
class QWidget;

namespace vorlin {

// Puts the grip at the end of `status_bar`'s row; null when the bar has no row layout.
QSizeGrip* AddResizeGrip(QWidget* status_bar);

}  // namespace vorlin
