#include "platform/log.h"

Q_LOGGING_CATEGORY(lcVorlin, "vorlin")
Q_LOGGING_CATEGORY(lcReports, "vorlin.hid.reports", QtWarningMsg)
