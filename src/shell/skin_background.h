#pragma once

class QWidget;

namespace vorlin {

struct SkinChangedParam;

// Gives `root` (the main window's "root" control) the background of a skin change: the colour
// and no picture, or no colour and the picture (a skin file name or an absolute path).
void ApplySkinBackground(QWidget* root, const SkinChangedParam& param);

}  // namespace vorlin
