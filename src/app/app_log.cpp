#include "app/app_log.h"

Q_LOGGING_CATEGORY(lcNotify, "vorlin.notify", QtWarningMsg)
