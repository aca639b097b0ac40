#pragma once

namespace vorlin {

// The application title: the main window's caption and the tray icon's tip.
inline constexpr char16_t kAppTitle[] = u"Vorlin鼠标";

// The program's machine name: per-user folders, the runtime lock and socket, QSettings.
inline constexpr char kAppName[] = "vorlin";

// The program's version ("0.1.0"), from the build.
const char* AppVersion();

}  // namespace vorlin
