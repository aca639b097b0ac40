#pragma once

#include <QLoggingCategory>

// Logging categories of the program, all named "vorlin.*". Messages go to standard error through
// Qt's message handler. By default only warnings and errors are written; --verbose (see
// SetUpLogging) or QT_LOGGING_RULES turn on the rest, e.g.
// QT_LOGGING_RULES="vorlin.*=true" or QT_LOGGING_RULES="vorlin.hid.reports=true".
// Typed keys and captured key codes are never logged.

// General program log.
Q_DECLARE_LOGGING_CATEGORY(lcVorlin)
// Hexadecimal dump of every command report exchanged with a device (only when asked for by name).
Q_DECLARE_LOGGING_CATEGORY(lcReports)

namespace vorlin {

// The rules this run starts with: warnings and errors only, or with `verbose` every "vorlin.*"
// category except the per-report and per-notification dumps, which stay opt-in by name.
// QT_LOGGING_RULES and QT_LOGGING_CONF still take precedence over these rules.
QString LoggingRules(bool verbose);
void SetUpLogging(bool verbose);

}  // namespace vorlin
