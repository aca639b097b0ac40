#pragma once

// `vorlin ctl`: the command line for scripts and key bindings, read before any Qt application
// object exists. Pure: what the words ask for, or what is wrong with them; ctl_client.h carries
// it out against the running program or, without it, on devices it opens itself.

#include <QString>
#include <QStringList>

namespace vorlin {

// The exit codes a script can rely on (also in `vorlin ctl --help` and docs/command-line.md).
enum CtlExit : int {
  kCtlDone = 0,
  kCtlFailed = 1,       // anything else (the bus broke off, the devices could not be opened)
  kCtlUsage = 2,        // the command line is wrong, or names a value the device does not have
  kCtlNotRunning = 3,   // vorlin runs but cannot be reached on the session bus
  kCtlNoDevice = 4,     // the device is not connected
  kCtlWriteFailed = 5,  // the device or a file could not be written
};

struct CtlCommand {
  enum class Verb { kHelp, kList, kProfile, kDpi, kLight, kExport, kImport };
  Verb verb = Verb::kHelp;
  // Not empty: what is wrong with the command line (exit kCtlUsage).
  QString error{};

  QString device{};  // --device; empty: the connected device(s) the verb applies to
  bool json = false;
  // Without the running program: the emulated devices rather than the plugged-in ones.
  bool demo = false;
  // kProfile: the profile's name or index; empty: list the profiles.
  QString profile{};
  // kDpi: the stage (1-based; 0: show the stages) and its new DPI (0: make the stage current).
  int stage = 0;
  int dpi = 0;
  // kLight: -1 keeps the device's value.
  int effect = -1;
  int colour = -1;  // 0xRRGGBB
  int brightness = -1;
  int speed = -1;
  // kExport / kImport: the file, made absolute against the working folder.
  QString file{};
};

// Reads the words after "ctl". `working_folder` makes a relative FILE absolute.
CtlCommand ParseCtlCommand(const QStringList& words, const QString& working_folder);

// What `vorlin ctl --help` prints.
QString CtlHelpText();

// The lines printed for a wrong command line: the error and where to find help.
QString CtlUsageErrorText(const QString& error);

}  // namespace vorlin
