#pragma once

namespace vorlin {

// The language-file key of the application title: the main window's caption and the tray icon's
// tip, in the language in use.
inline constexpr char kAppTitleKey[] = "app_title_text";

// The program's machine name: per-user folders, the runtime lock and socket, QSettings.
inline constexpr char kAppName[] = "vorlin";

// The program's version ("0.1.0"), from the build.
const char* AppVersion();

}  // namespace vorlin
