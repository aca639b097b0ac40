#pragma once

#include <QLoggingCategory>

// Logging categories of the program. Messages go to standard error through Qt's message handler;
// enable a category with QT_LOGGING_RULES, e.g. QT_LOGGING_RULES="vorlin.hid.reports=true".

// General program log (on by default).
Q_DECLARE_LOGGING_CATEGORY(lcVorlin)
// Hexadecimal dump of every command report exchanged with a device (off unless enabled).
Q_DECLARE_LOGGING_CATEGORY(lcReports)
