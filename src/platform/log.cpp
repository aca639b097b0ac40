#include "platform/log.h"

Q_LOGGING_CATEGORY(lcVorlin, "vorlin.app", QtWarningMsg)
Q_LOGGING_CATEGORY(lcReports, "vorlin.hid.reports", QtWarningMsg)

namespace vorlin {

QString LoggingRules(bool verbose) {
  if (!verbose) return QStringLiteral("vorlin.*.debug=false\nvorlin.*.info=false");
  return QStringLiteral(
      "vorlin.*=true\n"
      "vorlin.hid.reports.debug=false\n"
      "vorlin.notify.debug=false");
}

void SetUpLogging(bool verbose) {
  QLoggingCategory::setFilterRules(LoggingRules(verbose));
}

}  // namespace vorlin
