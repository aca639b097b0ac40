#pragma once

#include <memory>

#include <QString>

class QSettings;

namespace vorlin {

// Where the program finds its own files (skin, DefaultData, Font, SDK) and keeps the user's.
//
// The install folder is the first existing folder of:
//   1. $VORLIN_DATA_DIR (lets a packager or a test point anywhere),
//   2. <executable's folder>/../share/vorlin (an installed program),
//   3. <executable's folder>/data (a relocatable folder beside the executable),
//   4. the source tree's data folder (a program run from its build tree).
// When none exists the second is returned, so that the messages about missing files name the
// place an installed program would use.
QString InstallFolder();

// The choice itself, apart from the process environment so that it can be tested.
// `source_data` may be empty (no build tree known).
QString ResolveInstallFolder(const QString& env_value, const QString& executable_folder,
                             const QString& source_data);

// The per-user data folder: $XDG_DATA_HOME (when set and absolute) or ~/.local/share, plus
// "/vorlin". Created when missing; a folder that cannot be created is logged and still returned
// (every later write then fails and reports itself).
QString UserDataFolder();
QString ResolveUserDataFolder(const QString& xdg_data_home, const QString& home);

// Demo mode keeps everything it writes (profiles, macros, lighting, the emulated devices' memory)
// in a folder of its own, "<per-user data folder>/demo", so that trying the program never touches
// the user's real profiles. After UseDemoDataFolder() (called once, before anything is read),
// UserDataFolder() and UserDataPath() name that folder. The program settings (the language
// choice) stay shared.
QString DemoDataFolder(const QString& user_data_folder);
void UseDemoDataFolder();

// A folder or file below the install folder, e.g. InstallPath("DefaultData/Language.config").
QString InstallPath(const QString& relative);
// A file below the per-user data folder, e.g. UserDataPath("main.ini").
QString UserDataPath(const QString& relative);

// The program's own settings (the language choice and other small values):
// ~/.config/vorlin/vorlin.conf.
std::unique_ptr<QSettings> OpenProgramSettings();

}  // namespace vorlin
