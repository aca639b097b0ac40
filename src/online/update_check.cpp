#include "online/update_check.h"

#include <json/json.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

#include "hid/device_tables.h"
#include "profiles/json_file_io.h"

namespace vorlin {

std::vector<SupportedDeviceEntry> SupportedDeviceTable() {
  return {
      {1, 1, 0, "TORVA", "QX20M01A", "MS", "MS", "", kKindMouse},
      {1, 1, 0, "TORVA", "QX20K01A", "KB", "KB", "", kKindKeyboard},
      {2, 1, 0, "TORVA", "QX20P01A_1", "P10", "P10", "", kKindMousePad},
      {0, 1, 1, "TORVA", "ALL", "P10", "AP", "V0101", 0},
  };
}

std::vector<SupportedDeviceEntry> UpdateTargets(const std::vector<SupportedDeviceEntry>& table,
                                                const std::vector<ConnectedDevice>& connected) {
  std::vector<SupportedDeviceEntry> targets;
  for (SupportedDeviceEntry entry : table) {
    if (entry.deviceKind != 0) {
      const auto found = std::find_if(connected.begin(), connected.end(), [&](const auto& device) {
        return CableKind(device.kind) == entry.deviceKind && device.version > 0;
      });
      if (found != connected.end()) entry.currentVersion = found->version;
    }
    if (entry.currentVersion != 0) targets.push_back(std::move(entry));
  }
  return targets;
}

std::string ApplicationKey(const SupportedDeviceEntry& target) {
  if (target.currentVersion == 0) return "NULL";
  return target.vendor + "_" + std::to_string(target.kind) + "_" + target.model + "_" +
         target.family + "_" + std::to_string(target.channel);
}

std::string RequestBody(const SupportedDeviceEntry& target) {
  char version[16];
  std::snprintf(version, sizeof version, target.kind != 0 ? "%x" : "%d", target.currentVersion);
  return "app_key=" + ApplicationKey(target) + "&version=" + version;
}

std::string RowName(const SupportedDeviceEntry& target) {
  return target.model == "ALL" ? std::string("AP") : target.displayCode;
}

std::string CurrentVersionText(const SupportedDeviceEntry& target) {
  char text[16];
  if (target.kind != 0) {
    std::snprintf(text, sizeof text, "V%04x", target.currentVersion);
    return text;
  }
  if (!target.versionText.empty()) return target.versionText;
  std::snprintf(text, sizeof text, "V%d", target.currentVersion);
  return text;
}

std::optional<UpdateAnswer> ParseUpdateAnswer(std::string_view text) {
  const Json::Value root = JsonFileIo::ParseJsonText(text);
  if (!root.isObject()) return std::nullopt;
  auto string_member = [&](const char* key) {
    const Json::Value& value = root[key];
    return value.isString() ? value.asString() : std::string();
  };
  UpdateAnswer answer;
  answer.path = string_member("path");
  answer.name = string_member("name");
  answer.versionName = string_member("version_name");
  answer.version = string_member("version");
  const Json::Value& id = root["device_id"];
  answer.deviceId = id.isInt() ? id.asInt() : 0;
  if (answer.name.empty() || answer.name == "NO_LINK_SERVER") return std::nullopt;
  return answer;
}

UpdateRow InitialRow(const SupportedDeviceEntry& target) {
  UpdateRow row;
  row.name = RowName(target);
  row.currentVersionText = CurrentVersionText(target);
  row.status = row_status::kUpToDate;
  return row;
}

namespace {

std::optional<long> ParseVersion(const std::string& text, int base) {
  long value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value, base);
  if (error != std::errc() || stop != end || text.empty()) return std::nullopt;
  return value;
}

// The file extension of the address's last path part ("" when it has none), letters and digits
// only, so that the desktop recognises a package by its name. The server's own name for the file
// is never used: the row's name is.
std::string FileExtension(const std::string& url) {
  std::string path = url.substr(0, url.find_first_of("?#"));
  const size_t slash = path.rfind('/');
  if (slash != std::string::npos) path.erase(0, slash + 1);
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot + 1 == path.size()) return {};
  const std::string extension = path.substr(dot + 1);
  if (extension.size() > 16) return {};
  for (const char c : extension) {
    if (!std::isalnum(static_cast<unsigned char>(c))) return {};
  }
  return "." + extension;
}

}  // namespace

UpdateRow ApplyAnswer(const SupportedDeviceEntry& target, const UpdateAnswer& answer,
                      const std::string& temp_folder, UpdateRow row) {
  const std::optional<long> version = ParseVersion(answer.version, target.kind != 0 ? 16 : 10);
  if (!version) return row;
  row.name = RowName(target);
  row.deviceId = answer.deviceId;
  row.serverVersionName = answer.versionName;
  row.newVersionText = target.kind != 0 ? "V" + answer.version : answer.versionName;
  row.downloadUrl = answer.path;
  row.localFile = temp_folder + row.name + FileExtension(answer.path);
  row.status = target.currentVersion < *version ? row_status::kNeed : row_status::kUpToDate;
  return row;
}

const char* RowStatusTextKey(int status) {
  switch (status) {
    case row_status::kLess:
      return "LessUpdateText";
    case row_status::kNeed:
    case row_status::kNeedToo:
      return "NeedUpdateText";
    case row_status::kWaiting:
      return "DownloadWaitText";
    case row_status::kDownloading:
      return "DownloadIngText";
    case row_status::kDownloaded:
      return "DownloadOkText";
    case row_status::kInstalling:
      return "UpdateIngText";
    case row_status::kUpToDate:
      return "UpdateOkText";
    case row_status::kFailed:
      return "UpdateFailText";
  }
  return "";
}

const char* WindowStatusTextKey(int status) {
  switch (status) {
    case window_status::kAsking:
      return "GetUpdateInfoText";
    case window_status::kHaveUpdates:
      return "HaveUpdateInfoText";
    case window_status::kNoServer:
      return "NoUpdateInfoText";
    case window_status::kUpdating:
      return "ISUpdateINGText";
    case window_status::kUpToDate:
      return "UpdateIsLastText";
  }
  return "";
}

bool RowIsTickable(int status) {
  return status == row_status::kNeed || status == row_status::kNeedToo ||
         status == row_status::kFailed;
}

bool CloseAllowed(const std::vector<UpdateRow>& rows) {
  return std::all_of(rows.begin(), rows.end(), [](const UpdateRow& row) {
    return row.status == row_status::kNeed || row.status == row_status::kNeedToo ||
           row.status == row_status::kUpToDate || row.status == row_status::kFailed ||
           row.status == row_status::kLess;
  });
}

int CheckOutcome(const std::vector<UpdateRow>& rows, bool every_request_failed) {
  const bool any = std::any_of(rows.begin(), rows.end(), [](const UpdateRow& row) {
    return row.status != row_status::kUpToDate && row.status != row_status::kLess;
  });
  if (any) return window_status::kHaveUpdates;
  return every_request_failed ? window_status::kNoServer : window_status::kUpToDate;
}

std::string DateText(int year, int month, int day) {
  char text[32];
  std::snprintf(text, sizeof text, "%d-%d-%d", year, month, day);
  return text;
}

std::string ReadOrStampUpdateTime(const std::string& path, const std::string& today) {
  Json::Value document = JsonFileIo::ReadJsonFile(path);
  // Looked up without changing the document: a member of the wrong type is simply no date.
  const Json::Value& read = document;
  const Json::Value* stored = nullptr;
  if (read.isObject() && read["updatelasttime"].isObject()) stored = &read["updatelasttime"]["value"];
  if (stored && stored->isString() && !stored->asString().empty()) return stored->asString();
  if (!document.isObject()) document = Json::Value(Json::objectValue);
  document["updatelasttime"] = Json::Value(Json::objectValue);
  document["updatelasttime"]["value"] = today;
  JsonFileIo::WriteJsonFile(path, document);
  return today;
}

}  // namespace vorlin
