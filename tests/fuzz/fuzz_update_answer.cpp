// The update server's answers: any text must read without a crash, and whatever the answer says,
// the download goes to a file named after the row inside the download folder, and the row either
// offers the update or stays up to date.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "online/update_check.h"

namespace {

using namespace vorlin;

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto answer = ParseUpdateAnswer(text);
  if (!answer) return 0;
  Check(!answer->name.empty());
  const std::string folder = "/tmp/UpdateData/";
  for (SupportedDeviceEntry target : SupportedDeviceTable()) {
    target.currentVersion = 0x0107;
    const UpdateRow before = InitialRow(target);
    const UpdateRow row = ApplyAnswer(target, *answer, folder, before);
    Check(row.status == row_status::kNeed || row.status == row_status::kUpToDate);
    if (row.localFile.empty()) continue;
    Check(row.localFile.compare(0, folder.size(), folder) == 0);
    const std::string name = row.localFile.substr(folder.size());
    Check(name.find('/') == std::string::npos);
    Check(name.compare(0, row.name.size(), row.name) == 0);
  }
  return 0;
}
