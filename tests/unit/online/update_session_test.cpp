// The update session against a local HTTPS server whose certificate authority the test trusts:
// the check, the downloads and the installers (scripts whose exit code tells how they did).
#include "online/update_session.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <thread>

#include <QDir>
#include <QTemporaryDir>

#include "hid/device_tables.h"
#include "support/update_test_server.h"

namespace vorlin {
namespace {

using test::UpdateTestServer;
using namespace std::chrono_literals;

// Every row has an answer: mouse and program newer, keyboard the same, pad older.
constexpr char kAnswers[] = R"({
  "TORVA_1_QX20M01A_MS_1": {"path": "/files/mouse.sh", "name": "MS", "version_name": "1.09",
                            "version": "0109", "device_id": 0},
  "TORVA_1_QX20K01A_KB_1": {"path": "/files/keyboard.sh", "name": "KB", "version_name": "2.00",
                            "version": "0200", "device_id": 0},
  "TORVA_2_QX20P01A_1_P10_1": {"path": "/files/pad.sh", "name": "P10", "version_name": "0.1",
                               "version": "0001", "device_id": 0},
  "TORVA_0_ALL_P10_1": {"path": "/slow/setup.sh", "name": "AP", "version_name": "V0102",
                        "version": "2", "device_id": 1}
})";

std::vector<SupportedDeviceEntry> AllTargets() {
  return UpdateTargets(SupportedDeviceTable(),
                       {{kKindMouse, 0x0107}, {kKindKeyboard, 0x0200}, {kKindMousePad, 0x0108}});
}

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds limit = 20s) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

class UpdateSessionTest : public ::testing::Test {
 protected:
  UpdateSessionTest() {
    UpdateTestServer::Options options = UpdateTestServer::OwnFiles();
    options.answersJson = kAnswers;
    server_ = std::make_unique<UpdateTestServer>(options);
  }
  void SetUp() override { ASSERT_TRUE(server_->Running()); }

  void Serve(const char* name, const std::string& contents) {
    std::ofstream(server_->Files().toStdString() + "/" + name, std::ios::binary) << contents;
  }
  // An installer script that leaves a mark beside itself and ends with `code`.
  static std::string Installer(int code, const char* before_exit = "") {
    return std::string("#!/bin/sh\necho ran > \"$0.ran\"\n") + before_exit + "\nexit " +
           std::to_string(code) + "\n";
  }

  UpdateSessionOptions Options(std::vector<SupportedDeviceEntry> targets = AllTargets()) {
    UpdateSessionOptions options;
    options.apiBaseUrl = server_->BaseUrl();
    options.http.caFile = server_->CaFile();
    options.downloadFolder = downloads_.path().toStdString() + "/";
    options.targets = [targets] { return targets; };
    options.reportGraceMs = 100;
    return options;
  }
  void Start(UpdateSessionOptions options) {
    session_ = std::make_unique<UpdateSession>(std::move(options), [this] { ++changes_; });
    session_->Start();
  }
  bool CheckDone() {
    return WaitFor([&] { return session_->WindowStatus() != window_status::kAsking; });
  }
  std::vector<int> Statuses() const {
    std::vector<int> statuses;
    for (const UpdateRow& row : session_->Rows()) statuses.push_back(row.status);
    return statuses;
  }
  bool RowReaches(size_t row, int status) {
    return WaitFor([&] { return session_->Rows().at(row).status == status; });
  }
  // Unticks every row but `keep`.
  void TickOnly(size_t keep) {
    for (size_t row = 0; row < session_->Rows().size(); ++row) session_->SetTicked(row, row == keep);
  }

  std::unique_ptr<UpdateTestServer> server_;
  QTemporaryDir downloads_;
  std::atomic<int> changes_{0};
  std::unique_ptr<UpdateSession> session_;
};

TEST_F(UpdateSessionTest, EveryRowGetsItsAnswer) {
  Start(Options());
  ASSERT_TRUE(CheckDone());
  EXPECT_EQ(session_->WindowStatus(), window_status::kHaveUpdates);
  const std::vector<UpdateRow> rows = session_->Rows();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(Statuses(), (std::vector<int>{row_status::kNeed, row_status::kUpToDate,
                                          row_status::kUpToDate, row_status::kNeed}));
  EXPECT_EQ(rows[0].name, "MS");
  EXPECT_EQ(rows[0].currentVersionText, "V0107");
  EXPECT_EQ(rows[0].newVersionText, "V0109");
  EXPECT_EQ(rows[0].downloadUrl, server_->Origin() + "/files/mouse.sh");
  EXPECT_EQ(rows[0].localFile, downloads_.path().toStdString() + "/MS.sh");
  EXPECT_EQ(rows[3].name, "AP");
  EXPECT_EQ(rows[3].newVersionText, "V0102");
  // What can be updated is ticked; the rest cannot be.
  EXPECT_TRUE(rows[0].ticked && rows[0].tickable);
  EXPECT_FALSE(rows[1].ticked || rows[1].tickable);
  EXPECT_TRUE(session_->CanClose());
  EXPECT_GT(changes_.load(), 0);
  // The request bodies as the server saw them.
  const std::vector<std::string> requests = server_->Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_NE(requests[0].find("app_key=TORVA_1_QX20M01A_MS_1&version=107"), std::string::npos);
  EXPECT_NE(requests[3].find("app_key=TORVA_0_ALL_P10_1&version=1"), std::string::npos);
}

TEST_F(UpdateSessionTest, UnreachableOrMissingServerSaysSo) {
  struct Case {
    std::string url;
    std::string serverError;
  };
  const std::string down = "http://127.0.0.1:" + std::to_string(test::ClosedPort()) + "/api/";
  for (const Case& c : {Case{down, ""}, Case{"", "no update server is configured"}}) {
    UpdateSessionOptions options = Options();
    options.apiBaseUrl = c.url;
    options.serverError = c.serverError;
    Start(std::move(options));
    ASSERT_TRUE(CheckDone());
    EXPECT_EQ(session_->WindowStatus(), window_status::kNoServer) << c.url;
    for (const UpdateRow& row : session_->Rows()) {
      EXPECT_EQ(row.status, row_status::kUpToDate);
      EXPECT_FALSE(row.reason.empty()) << "the row says why";
    }
    session_.reset();
  }
}

TEST_F(UpdateSessionTest, DownloadedInstallerRunsAndItsExitCodeDecides) {
  struct Case {
    int exitCode;
    int rowStatus;
    int windowStatus;
  };
  for (const Case& c : {Case{0, row_status::kUpToDate, window_status::kUpToDate},
                        Case{3, row_status::kFailed, window_status::kHaveUpdates}}) {
    Serve("mouse.sh", Installer(c.exitCode));
    Start(Options({AllTargets()[0]}));
    ASSERT_TRUE(CheckDone());
    session_->BeginUpdate();
    ASSERT_TRUE(RowReaches(0, c.rowStatus)) << "exit " << c.exitCode;
    const UpdateRow row = session_->Rows()[0];
    EXPECT_TRUE(std::ifstream(row.localFile + ".ran").good()) << "the installer ran";
    EXPECT_EQ(session_->WindowStatus(), c.windowStatus) << "exit " << c.exitCode;
    if (c.exitCode == 0) {
      EXPECT_EQ(row.currentVersionText, "V0109");
      EXPECT_EQ(row.newVersionText, "");
      EXPECT_EQ(session_->InstallState(), 0);
    } else {
      EXPECT_TRUE(row.tickable) << "a failed row can be tried again";
      EXPECT_EQ(session_->InstallState(), -1);
    }
    session_.reset();
  }
}

TEST_F(UpdateSessionTest, ReportsDecideBeforeTheExitCode) {
  // The installer reports a failure and then exits with 0: the report counts.
  Serve("mouse.sh", Installer(0, "sleep 0.3"));
  Start(Options({AllTargets()[0]}));
  ASSERT_TRUE(CheckDone());
  session_->BeginUpdate();
  ASSERT_TRUE(RowReaches(0, row_status::kInstalling));
  EXPECT_FALSE(session_->CanClose()) << "no closing while installing";
  session_->OnInstallerReport(4, 42);
  EXPECT_EQ(session_->Rows()[0].percent, 42);
  session_->OnInstallerReport(3, 0);
  EXPECT_EQ(session_->Rows()[0].status, row_status::kFailed);
  std::this_thread::sleep_for(600ms);
  EXPECT_EQ(session_->Rows()[0].status, row_status::kFailed) << "the exit code came too late";
}

TEST_F(UpdateSessionTest, FilesThatMayNotRunAreNotStarted) {
  struct Case {
    const char* name;
    std::string contents;
    bool verified;
    bool showFile;
  };
  const Case cases[] = {
      // Not a program: kept, and offered in its folder.
      {"text", "just some text\n", true, true},
      // A program, but over a connection whose certificate was not checked.
      {"unverified", Installer(0), false, false},
  };
  for (const Case& c : cases) {
    Serve("mouse.sh", c.contents);
    UpdateSessionOptions options = Options({AllTargets()[0]});
    if (!c.verified) {
      options.http.caFile.clear();
      options.http.requireValidCertificate = false;
    }
    Start(std::move(options));
    ASSERT_TRUE(CheckDone()) << c.name;
    session_->BeginUpdate();
    ASSERT_TRUE(RowReaches(0, row_status::kFailed)) << c.name;
    const UpdateRow row = session_->Rows()[0];
    EXPECT_FALSE(std::ifstream(row.localFile + ".ran").good()) << c.name;
    EXPECT_EQ(row.showFile, c.showFile) << c.name;
    EXPECT_FALSE(row.reason.empty()) << c.name;
    EXPECT_EQ(session_->StartFailures(), 0) << c.name;
    session_.reset();
  }
}

TEST_F(UpdateSessionTest, ClosingWaitsForADownloadAndStopEndsIt) {
  // The program's installer comes slowly: 4 kB at 1 kB every 0.3 s.
  Serve("setup.sh", Installer(0) + std::string(3000, '#'));
  Start(Options({AllTargets()[3]}));
  ASSERT_TRUE(CheckDone());
  session_->BeginUpdate();
  ASSERT_TRUE(RowReaches(0, row_status::kDownloading));
  EXPECT_FALSE(session_->CanClose());
  ASSERT_TRUE(WaitFor([&] { return session_->Rows()[0].percent > 0; })) << "progress shows";
  const auto start = std::chrono::steady_clock::now();
  session_->Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 3s) << "the download ends at the stop";
}

TEST_F(UpdateSessionTest, AFailedRowTriedAgainDuringADownloadIsDownloaded) {
  // The mouse's installer is missing at first; the program's comes slowly (see above).
  Serve("setup.sh", Installer(0) + std::string(3000, '#'));
  Start(Options());
  ASSERT_TRUE(CheckDone());
  for (size_t row = 0; row < session_->Rows().size(); ++row)
    session_->SetTicked(row, row == 0 || row == 3);
  session_->BeginUpdate();
  ASSERT_TRUE(RowReaches(0, row_status::kFailed));
  ASSERT_TRUE(RowReaches(3, row_status::kDownloading));
  // The user tries the failed row again while the other one is still on its way.
  Serve("mouse.sh", Installer(0));
  session_->BeginUpdate();
  EXPECT_TRUE(RowReaches(0, row_status::kUpToDate)) << "status " << session_->Rows()[0].status;
}

TEST_F(UpdateSessionTest, UntickedRowsAreLeftAlone) {
  Serve("mouse.sh", Installer(0));
  Start(Options());
  ASSERT_TRUE(CheckDone());
  TickOnly(0);
  session_->BeginUpdate();
  ASSERT_TRUE(RowReaches(0, row_status::kUpToDate));
  const UpdateRow program = session_->Rows()[3];
  EXPECT_EQ(program.status, row_status::kNeed);
  EXPECT_FALSE(program.ticked);
  EXPECT_TRUE(program.tickable) << "once nothing is on its way it can be chosen again";
  EXPECT_EQ(session_->WindowStatus(), window_status::kHaveUpdates);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(program.localFile)));
}

}  // namespace
}  // namespace vorlin
