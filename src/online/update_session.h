#pragma once

// The update page's work, apart from its widgets: the list of rows and three worker threads.
//
//   check worker      asks the server once about every target, row by row
//   download worker   downloads the ticked rows once the user asked for the update
//   install worker    starts the downloaded installers one by one
//
// The rows are kept under a lock; every change calls the `changed` callback (on whatever thread
// made it), after which the page reads a copy with Rows(). Every wait of a worker (the network, a
// running installer, an idle moment) ends when the session stops, and Stop joins the threads: no
// thread is ever left behind or killed.
//
// An installer reports back through the installer report (OnInstallerReport: 1 finished, 2 failed
// if none is running, 3 failed, 4 progress). One that ends without a report is judged by its exit
// code a moment later: 0 finished, anything else failed.

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "online/http_client.h"
#include "online/update_check.h"
#include "platform/stop_event.h"

namespace vorlin {

struct UpdateSessionOptions {
  std::string apiBaseUrl;  // empty: no server is configured (the check says so)
  std::string serverError;
  HttpConfig http;
  std::string downloadFolder;
  // The targets, gathered on the check worker's thread (they may look at the devices).
  std::function<std::vector<SupportedDeviceEntry>()> targets;
  // How long an installer's report may lag behind its exit before the exit code decides.
  int reportGraceMs = 1000;
};

// The result of asking about one target (also what `vorlin --check-updates` prints).
struct CheckedRow {
  UpdateRow row;
  bool requestFailed = false;
};

// Asks the server about one target with `client` (POST base URL + "updates").
CheckedRow CheckTarget(const SupportedDeviceEntry& target, HttpClient& client,
                       const std::string& api_base_url, const std::string& download_folder);

class UpdateSession {
 public:
  UpdateSession(UpdateSessionOptions options, std::function<void()> changed);
  ~UpdateSession();  // Stop()
  UpdateSession(const UpdateSession&) = delete;
  UpdateSession& operator=(const UpdateSession&) = delete;

  // Starts the three workers (the check runs at once).
  void Start();
  // Ends every wait and joins the workers. Idempotent.
  void Stop();

  std::vector<UpdateRow> Rows() const;
  int WindowStatus() const;
  // 0 idle, 1 an installer is running, -1 the last install failed.
  int InstallState() const;
  // Installers that could not be started so far (the page tells the user of each).
  int StartFailures() const;
  bool CanClose() const;

  // The user ticks or unticks a row (ignored for a row that cannot be ticked).
  void SetTicked(size_t row, bool ticked);
  bool AnyTicked() const;
  // "update_OK_btn": the ticked rows wait for their download, the others cannot be ticked.
  void BeginUpdate();
  void OnInstallerReport(int code, int value);

 private:
  void RunCheck();
  void RunDownloads();
  void RunInstalls();
  // Waits until `wake` or the stop is set; true when stopping. `wake` is reset before the worker
  // looks for its work, so a wake-up that comes while it works is not lost.
  bool WaitForWork(StopEvent& wake);
  void Changed();
  void InstallRow(size_t index);
  void FinishInstall(size_t index, bool success);

  UpdateSessionOptions options_;
  std::function<void()> changed_;
  StopEvent stop_;

  // The workers sleep on these (eventfds beside the stop event) rather than on a condition
  // variable, so that every wait also ends at the stop.
  StopEvent download_wake_;
  StopEvent install_wake_;
  StopEvent report_wake_;

  mutable std::mutex mutex_;
  std::vector<UpdateRow> rows_;
  int window_status_ = window_status::kAsking;
  int install_state_ = 0;
  int start_failures_ = 0;
  bool download_wanted_ = false;
  bool install_wanted_ = false;
  bool stopping_ = false;
  // The row whose installer runs now (-1: none).
  int current_ = -1;
  // Installs finished by a report, so that the exit code no longer decides.
  int reports_seen_ = 0;

  std::thread check_;
  std::thread download_;
  std::thread install_;
};

}  // namespace vorlin
