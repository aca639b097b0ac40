#pragma once

// What the update page asks and how it reads the answers, as plain data: the supported-device
// table, the rows it turns into, the request body, the answer and the row's outcome. The workers
// (update_workers.h) and the page use these; nothing here touches the network or a widget.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlin {

// One product the update check asks about. `kind` is the server's kind: 0 for the application
// (versions are decimal), non-zero for firmware (versions are hexadecimal).
struct SupportedDeviceEntry {
  int kind = 0;
  int channel = 1;
  int currentVersion = 0;  // 0: not connected
  std::string vendor;
  std::string model;
  std::string family;
  std::string displayCode;
  std::string versionText;  // shown for the application row
  // The program's device kind (cable code) whose firmware version fills this row; 0 for the
  // application row.
  uint16_t deviceKind = 0;
};

// The built-in table: mouse, keyboard, mouse pad (not connected), then the application.
std::vector<SupportedDeviceEntry> SupportedDeviceTable();

// A connected device as the program found it: its device kind code and firmware version.
struct ConnectedDevice {
  uint16_t kind = 0;
  int version = 0;
};

// The rows to ask about, in table order: each device row takes the version of the first
// connected device of its kind (receiver kinds count as their cable kind); rows still at 0 are
// left out.
std::vector<SupportedDeviceEntry> UpdateTargets(const std::vector<SupportedDeviceEntry>& table,
                                                const std::vector<ConnectedDevice>& connected);

// "NULL" for a target at version 0, else vendor_kind_model_family_channel.
std::string ApplicationKey(const SupportedDeviceEntry& target);
// "app_key=<key>&version=<version>", the version in lower-case hexadecimal for device rows and in
// decimal for the application row.
std::string RequestBody(const SupportedDeviceEntry& target);
// The name a row shows: the display code, "AP" for the application row.
std::string RowName(const SupportedDeviceEntry& target);
// "V%04x" for device rows; the version text (or "V%d") for the application row.
std::string CurrentVersionText(const SupportedDeviceEntry& target);

// The server's answer for one target.
struct UpdateAnswer {
  std::string path;
  std::string name;
  std::string versionName;
  std::string version;
  int deviceId = 0;
};

// Null for text that is not a JSON object or whose "name" is empty (or "NO_LINK_SERVER").
std::optional<UpdateAnswer> ParseUpdateAnswer(std::string_view text);

// Row status codes of the update list.
namespace row_status {
inline constexpr int kLess = 0;
inline constexpr int kNeed = 1;
inline constexpr int kNeedToo = 2;
inline constexpr int kWaiting = 3;
inline constexpr int kDownloading = 4;
inline constexpr int kDownloaded = 5;
inline constexpr int kInstalling = 6;
inline constexpr int kUpToDate = 7;
inline constexpr int kFailed = 8;
}  // namespace row_status

// Window status codes of the update page.
namespace window_status {
inline constexpr int kAsking = 0;
inline constexpr int kHaveUpdates = 1;
inline constexpr int kNoServer = 2;
inline constexpr int kUpdating = 3;
inline constexpr int kUpToDate = 4;
}  // namespace window_status

// One row of the list.
struct UpdateRow {
  int status = row_status::kUpToDate;
  int deviceId = 0;  // 1: the installer is started and not waited for
  std::string name;
  std::string currentVersionText;
  std::string serverVersionName;
  std::string newVersionText;
  std::string downloadUrl;
  std::string localFile;
  bool tickable = false;
  bool ticked = false;
  int percent = 0;
  // The download arrived whole over a verified connection (only then is it started).
  bool downloadVerified = false;
  // The file was not a program the page may start: the page offers to show it in its folder.
  bool showFile = false;
  // Why the row could not be asked or updated (shown beside its status; empty when fine).
  std::string reason;
};

// The row before its answer: name, current version, status 7.
UpdateRow InitialRow(const SupportedDeviceEntry& target);
// The row after a parsed answer: status 1 when the answer's version is above the current one,
// else 7; the download goes to `temp_folder` + name + the address's file extension. An answer
// whose version is not a number leaves the row as it was.
UpdateRow ApplyAnswer(const SupportedDeviceEntry& target, const UpdateAnswer& answer,
                      const std::string& temp_folder, UpdateRow row);

// The language key of a row status and of a window status.
const char* RowStatusTextKey(int status);
const char* WindowStatusTextKey(int status);
// The user may tick a row that can be updated or whose update failed.
bool RowIsTickable(int status);
// The page may close unless a row is on its way (waiting, downloading, downloaded, installing).
bool CloseAllowed(const std::vector<UpdateRow>& rows);
// The window status after the check: 1 when a row can be updated, 2 when no request was
// answered, else 4.
int CheckOutcome(const std::vector<UpdateRow>& rows, bool every_request_failed);

// "updatetime.config": the date of the last check ("%d-%d-%d": year, month, day). Reads the
// stored date; when there is none (missing or unreadable document, null member) writes `today`
// and returns it.
std::string ReadOrStampUpdateTime(const std::string& path, const std::string& today);
std::string DateText(int year, int month, int day);

}  // namespace vorlin
