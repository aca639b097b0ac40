#pragma once

// The program's command line, read before any Qt application object exists so that --help,
// --version and a wrong option answer on a terminal without a display.

#include <QString>
#include <QStringList>

namespace vorlin {

struct CommandLine {
  enum class Action { kRun, kHelp, kVersion, kError };
  Action action = Action::kRun;
  // kHelp: the help text; kVersion: the version line; kError: what is wrong.
  QString text;

  bool demo = false;
  bool probe = false;
  bool wait = false;
  bool checkUpdates = false;
  bool verbose = false;
  QString simSocket;  // from --sim-socket, else $VORLIN_SIM_SOCKET (filled in by the caller)
  QString screenshotPath;
  QString automationPath;
  int forcedDpi = 0;  // --scale; 0 when not given
};

// Reads `arguments` (the program name first). Qt's own window-system options (-platform,
// -display, -style, ...) are left for the application object and not reported as unknown.
// `version` is the text --version prints after the program name.
CommandLine ParseCommandLine(const QStringList& arguments, const QString& version);

// The lines printed for a wrong command line: the error and where to find help.
QString CommandLineErrorText(const QString& error);

// Exit code of a wrong command line (as getopt-based tools use).
constexpr int kCommandLineErrorExit = 2;

}  // namespace vorlin
