#include "online/update_session.h"

#include <algorithm>

#include "online/installer.h"
#include "platform/log.h"

namespace vorlin {

namespace {

// The answer buffer of one request.
constexpr size_t kAnswerBufferSize = 102400;

bool OnItsWay(const UpdateRow& row) {
  return row.status == row_status::kWaiting || row.status == row_status::kDownloading ||
         row.status == row_status::kDownloaded || row.status == row_status::kInstalling;
}

}  // namespace

CheckedRow CheckTarget(const SupportedDeviceEntry& target, HttpClient& client,
                       const std::string& api_base_url, const std::string& download_folder) {
  CheckedRow checked{InitialRow(target)};
  client.Reset();
  std::vector<char> answer(kAnswerBufferSize, 0);
  const int stored =
      client.Request("POST", api_base_url + "updates", RequestBody(target), answer, false);
  if (stored <= 0) {
    checked.requestFailed = true;
    checked.row.reason = client.LastError() != 0 ? client.LastErrorText() : "no answer";
    return checked;
  }
  const std::optional<UpdateAnswer> parsed =
      ParseUpdateAnswer(std::string_view(answer.data(), static_cast<size_t>(stored)));
  if (!parsed) return checked;
  checked.row = ApplyAnswer(target, *parsed, download_folder, checked.row);
  return checked;
}

UpdateSession::UpdateSession(UpdateSessionOptions options, std::function<void()> changed)
    : options_(std::move(options)), changed_(std::move(changed)) {}

UpdateSession::~UpdateSession() {
  Stop();
}

void UpdateSession::Start() {
  if (check_.joinable()) return;
  check_ = std::thread([this] { RunCheck(); });
  download_ = std::thread([this] { RunDownloads(); });
  install_ = std::thread([this] { RunInstalls(); });
}

void UpdateSession::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  stop_.Set();
  for (std::thread* worker : {&check_, &download_, &install_}) {
    if (worker->joinable()) worker->join();
  }
}

void UpdateSession::Changed() {
  if (changed_) changed_();
}

std::vector<UpdateRow> UpdateSession::Rows() const {
  std::lock_guard lock(mutex_);
  return rows_;
}

int UpdateSession::WindowStatus() const {
  std::lock_guard lock(mutex_);
  return window_status_;
}

int UpdateSession::InstallState() const {
  std::lock_guard lock(mutex_);
  return install_state_;
}

int UpdateSession::StartFailures() const {
  std::lock_guard lock(mutex_);
  return start_failures_;
}

bool UpdateSession::CanClose() const {
  std::lock_guard lock(mutex_);
  return CloseAllowed(rows_);
}

bool UpdateSession::AnyTicked() const {
  std::lock_guard lock(mutex_);
  return std::any_of(rows_.begin(), rows_.end(), [](const UpdateRow& row) { return row.ticked; });
}

void UpdateSession::SetTicked(size_t row, bool ticked) {
  std::lock_guard lock(mutex_);
  if (row >= rows_.size() || !rows_[row].tickable) return;
  rows_[row].ticked = ticked;
  Changed();
}

void UpdateSession::BeginUpdate() {
  std::lock_guard lock(mutex_);
  bool any = false;
  for (UpdateRow& row : rows_) {
    if (row.status != row_status::kNeed && row.status != row_status::kNeedToo &&
        row.status != row_status::kFailed) {
      continue;
    }
    if (row.ticked) {
      row.status = row_status::kWaiting;
      row.reason.clear();
      any = true;
    } else {
      row.tickable = false;
    }
  }
  if (!any) return;
  download_wanted_ = true;
  download_wake_.Set();
  Changed();
}

bool UpdateSession::WaitForWork(StopEvent& wake) {
  if (WaitForEither(stop_, wake, -1) == 1) return true;
  wake.Reset();
  return false;
}

void UpdateSession::RunCheck() {
  const std::vector<SupportedDeviceEntry> targets =
      options_.targets ? options_.targets() : std::vector<SupportedDeviceEntry>{};
  {
    std::lock_guard lock(mutex_);
    rows_.clear();
    for (const SupportedDeviceEntry& target : targets) rows_.push_back(InitialRow(target));
    window_status_ = window_status::kAsking;
    if (options_.apiBaseUrl.empty()) {
      for (UpdateRow& row : rows_) row.reason = options_.serverError;
      window_status_ = window_status::kNoServer;
    }
    Changed();
    if (options_.apiBaseUrl.empty()) return;
  }
  HttpClient client(options_.http);
  client.SetAbortEvent(&stop_);
  bool every_request_failed = true;
  for (size_t index = 0; index < targets.size(); ++index) {
    if (stop_.IsSet()) return;
    CheckedRow checked =
        CheckTarget(targets[index], client, options_.apiBaseUrl, options_.downloadFolder);
    every_request_failed = every_request_failed && checked.requestFailed;
    std::lock_guard lock(mutex_);
    rows_[index] = std::move(checked.row);
    Changed();
  }
  std::lock_guard lock(mutex_);
  for (UpdateRow& row : rows_) {
    if (row.status != row_status::kUpToDate && row.status != row_status::kLess) {
      row.tickable = true;
      row.ticked = true;
    }
  }
  window_status_ = CheckOutcome(rows_, every_request_failed);
  Changed();
}

void UpdateSession::RunDownloads() {
  HttpClient client(options_.http);
  client.SetAbortEvent(&stop_);
  for (;;) {
    if (WaitForWork(download_wake_)) return;
    std::unique_lock lock(mutex_);
    if (stopping_) return;
    if (!download_wanted_) continue;
    // Taken before the rows are gone through: a row asked for again while the lock is let go
    // during a download (a failed one tried again) sets it anew and gets another round.
    download_wanted_ = false;
    for (size_t index = 0; index < rows_.size(); ++index) {
      UpdateRow& row = rows_[index];
      if (!row.ticked || (row.status != row_status::kWaiting && row.status != row_status::kFailed))
        continue;
      qCInfo(lcVorlin) << "downloading the update of row" << index;
      row.status = row_status::kDownloading;
      row.percent = 0;
      window_status_ = window_status::kUpdating;
      const std::string url = row.downloadUrl;
      const std::string file = row.localFile;
      Changed();
      lock.unlock();
      client.Reset();
      DownloadResult result;
      if (options_.downloadFolder.empty()) {
        result.error = "the download folder " + std::string("UpdateData") + " is not ours alone";
      } else {
        result = client.Download(url, file, [&](double total, double received) {
          std::lock_guard progress_lock(mutex_);
          if (total > 0) rows_[index].percent = static_cast<int>(received * 100 / total);
          Changed();
        });
      }
      lock.lock();
      if (stopping_) return;
      UpdateRow& done = rows_[index];
      done.status = result.ok ? row_status::kDownloaded : row_status::kFailed;
      done.tickable = !result.ok;
      done.downloadVerified = result.ok && result.verified;
      done.reason = result.error;
      if (result.ok) done.percent = 100;
      if (!result.ok) {
        qCInfo(lcVorlin).noquote() << "download of" << QString::fromStdString(url)
                                   << "failed:" << QString::fromStdString(result.error);
      }
      install_wanted_ = true;
      install_wake_.Set();
      Changed();
    }
  }
}

void UpdateSession::RunInstalls() {
  for (;;) {
    if (WaitForWork(install_wake_)) return;
    std::unique_lock lock(mutex_);
    if (stopping_) return;
    if (!install_wanted_) continue;
    install_wanted_ = false;
    // One installer at a time: while one is under way the next waits.
    for (;;) {
      if (stopping_ || current_ >= 0) break;
      const auto next = std::find_if(rows_.begin(), rows_.end(), [](const UpdateRow& row) {
        return row.ticked && row.status == row_status::kDownloaded;
      });
      if (next == rows_.end()) break;
      const size_t index = static_cast<size_t>(next - rows_.begin());
      lock.unlock();
      InstallRow(index);
      lock.lock();
    }
  }
}

void UpdateSession::InstallRow(size_t index) {
  std::unique_lock lock(mutex_);
  UpdateRow& row = rows_[index];
  qCInfo(lcVorlin) << "update of row" << index << "downloaded; installing";
  row.status = row_status::kInstalling;
  row.tickable = false;
  row.percent = 0;
  window_status_ = window_status::kUpdating;
  current_ = static_cast<int>(index);
  const std::string path = row.localFile;
  const bool verified = row.downloadVerified;
  const int device_id = row.deviceId;
  const int reports_before = reports_seen_;
  Changed();
  auto fail = [&](std::string why, bool start_failure) {
    rows_[index].reason = std::move(why);
    if (start_failure) ++start_failures_;
    FinishInstall(index, false);
    Changed();
  };
  if (!verified) {
    return fail("not started: it did not arrive over a verified connection", false);
  }
  lock.unlock();
  const InstallerKind kind = ClassifyInstaller(path);
  std::string error;
  if (kind == InstallerKind::kOther) {
    lock.lock();
    rows_[index].showFile = true;
    return fail("not started: the file is not a program or package", false);
  }
  if (kind == InstallerKind::kPackage) {
    const bool opened = OpenWithDesktop(path, &error);
    lock.lock();
    if (!opened) return fail(error, true);
    // The desktop's installer takes over and does not report back.
    UpdateRow& handed = rows_[index];
    handed.reason = "opened with the desktop's installer";
    FinishInstall(index, true);
    Changed();
    return;
  }
  lock.lock();
  if (device_id != 1) install_state_ = 1;
  lock.unlock();
  InstallerProcess process;
  if (!process.Start(path, &error)) {
    lock.lock();
    return fail(error, true);
  }
  int exit_code = 0;
  if (!process.Wait(stop_, &exit_code)) return;
  // A report sent just before the installer ended may still be on its way.
  for (;;) {
    lock.lock();
    if (stopping_ || reports_seen_ != reports_before) break;
    lock.unlock();
    // Ends early at a report or the stop; a late report is one more look.
    if (WaitForEither(stop_, report_wake_, options_.reportGraceMs) != 2) {
      lock.lock();
      break;
    }
    report_wake_.Reset();
  }
  if (stopping_ || reports_seen_ != reports_before || current_ != static_cast<int>(index)) return;
  if (rows_[index].status != row_status::kInstalling) return;
  if (exit_code != 0) {
    rows_[index].reason = "the installer ended with code " + std::to_string(exit_code);
  }
  FinishInstall(index, exit_code == 0);
  Changed();
}

void UpdateSession::FinishInstall(size_t index, bool success) {
  UpdateRow& row = rows_[index];
  current_ = -1;
  if (!success) {
    install_state_ = -1;
    row.status = row_status::kFailed;
    row.tickable = true;
  } else {
    row.currentVersionText = row.newVersionText;
    row.newVersionText.clear();
    row.status = row_status::kUpToDate;
    row.ticked = false;
    row.tickable = false;
    row.percent = 0;
    install_state_ = 0;
  }
  install_wanted_ = true;
  install_wake_.Set();
  // Another chosen row still on its way: the page goes on with it.
  if (std::any_of(rows_.begin(), rows_.end(), OnItsWay)) return;
  // Nothing else on its way: what is left can be chosen again.
  bool any_left = false;
  for (UpdateRow& other : rows_) {
    other.tickable = RowIsTickable(other.status);
    any_left = any_left || other.tickable;
  }
  window_status_ = any_left ? window_status::kHaveUpdates : window_status::kUpToDate;
}

void UpdateSession::OnInstallerReport(int code, int value) {
  std::lock_guard lock(mutex_);
  if (current_ < 0) return;
  const auto index = static_cast<size_t>(current_);
  switch (code) {
    case 1:
      ++reports_seen_;
      report_wake_.Set();
      FinishInstall(index, true);
      break;
    case 2:
      if (install_state_ != 0 && install_state_ != 1) {
        ++reports_seen_;
        report_wake_.Set();
        FinishInstall(index, false);
      }
      break;
    case 3:
      ++reports_seen_;
      report_wake_.Set();
      rows_[index].reason = "the installer reported a failure";
      FinishInstall(index, false);
      break;
    case 4:
      rows_[index].percent = std::clamp(value, 0, 100);
      break;
    default:
      return;
  }
  Changed();
}

}  // namespace vorlin
