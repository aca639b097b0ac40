#pragma once

// `vorlin ctl` carried out: each command becomes calls of the device members of the session-bus
// interface (shell/device_bus_api.h, docs/dbus.md), made to the running program over the bus or,
// when it is not running, to this process's own devices (ctl_own_devices.h); the answers become
// lines or JSON on standard output and the errors English messages with an exit code a script
// can rely on (CtlExit).

#include <functional>

#include <QDBusConnection>
#include <QString>
#include <QVariantList>

#include "app/ctl_command.h"
#include "shell/device_bus_api.h"

namespace vorlin {

struct CtlResult {
  int exitCode = kCtlDone;
  QString out;  // for standard output
  QString err;  // for standard error
};

// One call of a device member by its bus name ("ListDevices", "SetLighting", ...), answered
// when the device has answered.
using CtlCall = std::function<BusAnswer(const QString& method, const QVariantList& args)>;

// Whether the program owns its service name on `connection`.
bool ProgramOnBus(QDBusConnection connection);
// Calls made to the program that owns the service name on `connection`.
CtlCall BusCtlCall(QDBusConnection connection);

// Carries out `command` through `call`.
CtlResult RunCtlCommand(const CtlCommand& command, const CtlCall& call);

// `vorlin ctl WORDS...` from main(): `argv[1]` is "ctl". Needs no display: only a core
// application object is made, and only for a command that talks to the devices.
int RunCtl(int argc, char** argv);

}  // namespace vorlin
