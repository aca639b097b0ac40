#pragma once

#include <QString>

class QWidget;

namespace vorlin {

// Window scale. Layout files give sizes for 96 DPI; a window set to another DPI has its sizes,
// positions, margins and fonts multiplied by DPI / 96 (144 DPI = 150 %). The first scaling
// remembers each widget's layout values, so scaling again (to any DPI, 96 included) starts from
// them and never compounds. Widgets added later are picked up by the next call.
double ScaleFactorForDpi(int dpi);
void ApplyWindowScale(QWidget* window, int dpi);
// The same for the part of a window under `root`, by any factor (1.0 = the layout's sizes).
void ApplyScaleFactor(QWidget* root, double factor);
int WindowDpi(const QWidget* window);

// Multiplies every pixel length ("12px") of a stylesheet by `factor`, rounding to whole pixels and
// keeping non-zero lengths at least 1px, so the skin's stylesheet follows the window scale.
QString ScaleStyleSheet(const QString& style_sheet, double factor);

}  // namespace vorlin
