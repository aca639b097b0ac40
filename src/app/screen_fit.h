#pragma once

// How the main window fits the screen: its layout size, the scale it takes on a monitor, and where
// the tray menu opens relative to the desktop's panel.

#include <QRect>
#include <QSize>

#include "ui/menu_builder.h"

namespace vorlin {

inline constexpr QSize kMainWindowSize{1000, 640};  // at 96 DPI

// 144 (150 %) on a monitor wider than 1500 and higher than 960 pixels, where the scaled window
// still fits; 96 otherwise.
int DpiForMonitor(QSize monitor);

// A scale the toolkit accepts: 48, 72, 96, 120, 144, 168 or 192.
bool IsSupportedDpi(int dpi);

// The window's size at a scale.
QSize MainWindowSizeAt(int dpi);

// The corner of the tray menu that touches the cursor: the menu opens away from the desktop's
// panel, which is where the screen's available area leaves a gap (bottom when there is none).
MenuCorner TrayMenuCorner(const QRect& screen, const QRect& available);

}  // namespace vorlin
