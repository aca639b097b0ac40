#pragma once

#include <QLoggingCategory>

// Every notification the main window receives (type and sender), off unless enabled with
// QT_LOGGING_RULES="vorlin.notify.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcNotify)
