#pragma once

// `vorlin ctl` carried out: each command becomes calls of the running program's session-bus
// interface (shell/shell_bus.h, docs/dbus.md); the answers become lines or JSON on standard output
// and the errors English messages with an exit code a script can rely on (CtlExit).

#include <QDBusConnection>
#include <QString>

#include "app/ctl_command.h"

namespace vorlin {

struct CtlResult {
  int exitCode = kCtlDone;
  QString out;  // for standard output
  QString err;  // for standard error
};

// Carries out `command` against the program that owns the service name on `connection`.
CtlResult RunCtlCommand(const CtlCommand& command, QDBusConnection connection);

// `vorlin ctl WORDS...` from main(): `argv[1]` is "ctl". Needs no display: only a core
// application object is made, and only for a command that talks to the program.
int RunCtl(int argc, char** argv);

}  // namespace vorlin
