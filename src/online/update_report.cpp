#include "online/update_report.h"

#include <cstdio>

#include "online/update_session.h"

namespace vorlin {

namespace {

void PrintRow(std::ostream& out, const UpdateRow& row, const std::string& outcome) {
  char line[64];
  std::snprintf(line, sizeof line, "%-4s %-7s ", row.name.c_str(), row.currentVersionText.c_str());
  out << line << outcome << "\n";
}

}  // namespace

int PrintUpdateCheck(std::ostream& out, const std::vector<SupportedDeviceEntry>& targets,
                     const UpdateServer& server) {
  bool update = false;
  bool not_asked = false;
  HttpClient client(server.http);
  for (const SupportedDeviceEntry& target : targets) {
    if (server.apiBaseUrl.empty()) {
      PrintRow(out, InitialRow(target), "not asked: " + server.error);
      not_asked = true;
      continue;
    }
    // The download folder only names the file a download would go to; nothing is written.
    const CheckedRow checked = CheckTarget(target, client, server.apiBaseUrl, "");
    if (checked.requestFailed) {
      PrintRow(out, checked.row, "not asked: " + checked.row.reason);
      not_asked = true;
    } else if (checked.row.status == row_status::kNeed) {
      PrintRow(out, checked.row, checked.row.newVersionText);
      update = true;
    } else {
      PrintRow(out, checked.row, "up to date");
    }
  }
  if (update) return kCheckUpdateExists;
  return not_asked ? kCheckServerNotAsked : kCheckUpToDate;
}

}  // namespace vorlin
