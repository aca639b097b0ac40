// The settings window's update page as the user meets it: the rows of a local HTTPS server's
// answers, ticking and starting the update, the download, an installer that reports back over the
// session bus (a private one), and the window that will not close while the update is on its way.
#include <gtest/gtest.h>

#include <fstream>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDBusConnection>
#include <QDialog>
#include <QLabel>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/settings_window.h"
#include "app/update_list_item.h"
#include "shell/shell_bus.h"
#include "support/update_test_server.h"
#include "ui/find_control.h"
#include "ui/translator.h"

namespace vorlin {
namespace {

using test::UpdateTestServer;

constexpr char kAnswers[] = R"({
  "TORVA_1_QX20M01A_MS_1": {"path": "/files/mouse.sh", "name": "MS", "version_name": "1.09",
                            "version": "0109", "device_id": 0},
  "TORVA_0_ALL_P10_1": {"path": "/slow/setup.sh", "name": "AP", "version_name": "V0102",
                        "version": "2", "device_id": 0}
})";

// An installer that tells the program how far it got and how it ended, as real ones do.
std::string ReportingInstaller(int outcome) {
  return "#!/bin/sh\n"
         "report() {\n"
         "  dbus-send --session --type=method_call --dest=org.vorlin.Vorlin /Vorlin \\\n"
         "    org.vorlin.Vorlin.InstallerReport int32:\"$1\" int32:\"$2\"\n"
         "}\n"
         "report 4 50\n"
         "sleep 1\n"
         "report " + std::to_string(outcome) + " 0\n"
         "sleep 1\n";
}

// The main window's part: installer reports go to the settings window.
class ForwardingHandler : public ShellBusHandler {
 public:
  CSetWnd* window = nullptr;
  void OnLightControlRequest(bool) override {}
  void OnInstallerReport(int code, int value) override {
    if (window) window->OnInstallerReport(code, value);
  }
  void OnGameMessage(GameMessage, int, int) override {}
  std::vector<WorkToolRow> WorkToolRows() const override { return {}; }
};

class UpdatePageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!QDBusConnection::sessionBus().isConnected()) GTEST_SKIP() << "no D-Bus session bus";
    UpdateTestServer::Options options = UpdateTestServer::OwnFiles();
    options.answersJson = kAnswers;
    server_ = std::make_unique<UpdateTestServer>(options);
    ASSERT_TRUE(server_->Running());
    ASSERT_TRUE(bus_.Start());
  }
  void TearDown() override {
    window_.reset();
    handler_.window = nullptr;
  }

  void Serve(const char* name, const std::string& contents) {
    std::ofstream(server_->Files().toStdString() + "/" + name, std::ios::binary) << contents;
  }
  void Open(bool configured = true, std::vector<SupportedDeviceEntry> targets = {}) {
    UpdatePageServices services;
    if (targets.empty()) targets = {MouseAt(0x0107)};
    services.targets = [targets] { return targets; };
    const std::string base = configured ? server_->BaseUrl() : "";
    const std::string ca = server_->CaFile();
    services.server = [base, ca] {
      UpdateServer server = ResolveUpdateServer(base, base.empty() ? std::optional<std::string>("")
                                                                   : std::nullopt);
      server.http.caFile = ca;
      return server;
    };
    services.updateTimePath = (data_.path() + "/updatetime.config").toStdString();
    services.statusChanged = [this](int status) { statuses_.push_back(status); };
    window_ = std::make_unique<CSetWnd>(nullptr, CSetWnd::LanguageSource{}, std::move(services));
    handler_.window = window_.get();
    window_->Show();
  }
  static SupportedDeviceEntry MouseAt(int version) {
    SupportedDeviceEntry mouse = SupportedDeviceTable()[0];
    mouse.currentVersion = version;
    return mouse;
  }
  template <typename T = QWidget>
  T* Control(const char* name) const {
    return FindControl<T>(window_->Window(), QString::fromLatin1(name));
  }
  QString StatusText() const { return Control<QLabel>("Update_Status_text")->text(); }
  static QString Text(const char* key) {
    return Translator::Instance().Text(QString::fromLatin1(key));
  }
  QString RowText(size_t row, const char* control) const {
    CUpdateInfoListItemUI* item = window_->UpdatePage()->Row(row);
    if (!item) return QStringLiteral("<no row>");
    auto* label = FindControl<QLabel>(item->Widget(), QString::fromLatin1(control));
    return label ? label->text() : QStringLiteral("<no control>");
  }
  bool WaitForStatus(int status, int ms = 20000) {
    return QTest::qWaitFor([&] { return window_->UpdatePage()->WindowStatus() == status; }, ms);
  }
  static void Click(QWidget* control) {
    ASSERT_NE(control, nullptr);
    ASSERT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
  }
  // A tick box answers on its box and text only.
  static void Tick(QCheckBox* box) {
    ASSERT_NE(box, nullptr);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
  }
  void StartUpdate() {
    Click(Control("update_fw_and_ap"));
    EXPECT_EQ(Control<QStackedWidget>("get_update_tab_layout")->currentIndex(), 1);
    Click(Control("update_OK_btn"));
    EXPECT_EQ(Control<QStackedWidget>("get_update_tab_layout")->currentIndex(), 0);
  }

  std::unique_ptr<UpdateTestServer> server_;
  ForwardingHandler handler_;
  ShellBus bus_{&handler_};
  QTemporaryDir data_;
  std::unique_ptr<CSetWnd> window_;
  std::vector<int> statuses_;
};

TEST_F(UpdatePageTest, RowsShowTheAnswers) {
  Open(true, {MouseAt(0x0107), SupportedDeviceTable()[3]});
  EXPECT_EQ(StatusText(), Text("GetUpdateInfoText"));
  ASSERT_TRUE(WaitForStatus(window_status::kHaveUpdates));
  EXPECT_EQ(StatusText(), Text("HaveUpdateInfoText"));
  ASSERT_EQ(window_->UpdatePage()->RowCount(), 2u);
  EXPECT_EQ(RowText(0, "update_cur_version"), "V0107");
  EXPECT_EQ(RowText(0, "update_new_version"), "V0109");
  EXPECT_EQ(RowText(0, "update_status_text"), Text("NeedUpdateText"));
  EXPECT_EQ(RowText(1, "update_new_version"), "V0102");
  QCheckBox* tick = window_->UpdatePage()->Row(0)->TickBox();
  EXPECT_TRUE(tick->isChecked());
  // Unticking every row leaves nothing to start.
  Tick(tick);
  Tick(window_->UpdatePage()->Row(1)->TickBox());
  EXPECT_FALSE(tick->isChecked());
  EXPECT_FALSE(Control("update_fw_and_ap")->isEnabled());
  Tick(tick);
  EXPECT_TRUE(tick->isChecked());
  EXPECT_TRUE(Control("update_fw_and_ap")->isEnabled());
  EXPECT_EQ(statuses_.front(), window_status::kAsking);
  EXPECT_EQ(statuses_.back(), window_status::kHaveUpdates);
}

TEST_F(UpdatePageTest, InstallerReportsOverTheSessionBus) {
  struct Case {
    int outcome;
    const char* rowText;
    const char* version;
  };
  for (const Case& c : {Case{1, "UpdateOkText", "V0109"}, Case{3, "UpdateFailText", "V0107"}}) {
    Serve("mouse.sh", ReportingInstaller(c.outcome));
    Open();
    ASSERT_TRUE(WaitForStatus(window_status::kHaveUpdates));
    StartUpdate();
    // The installer's progress report shows on its row, and the window stays while it works.
    ASSERT_TRUE(QTest::qWaitFor([&] { return RowText(0, "update_percent_text") == "50%"; }, 20000))
        << RowText(0, "update_status_text").toStdString();
    EXPECT_EQ(RowText(0, "update_status_text"), Text("UpdateIngText"));
    Click(Control("closebtn"));
    EXPECT_TRUE(window_->Window()->isVisible()) << "closing is refused while installing";
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return RowText(0, "update_status_text").startsWith(Text(c.rowText)); }, 20000))
        << RowText(0, "update_status_text").toStdString();
    EXPECT_EQ(RowText(0, "update_cur_version"), c.version);
    Click(Control("closebtn"));
    EXPECT_FALSE(window_->Window()->isVisible());
    window_.reset();
  }
}

TEST_F(UpdatePageTest, ClosingIsRefusedWhileDownloading) {
  Serve("setup.sh", "#!/bin/sh\n" + std::string(4000, '#'));
  Open(true, {SupportedDeviceTable()[3]});
  ASSERT_TRUE(WaitForStatus(window_status::kHaveUpdates));
  StartUpdate();
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return RowText(0, "update_status_text") == Text("DownloadIngText"); }, 20000));
  EXPECT_EQ(StatusText(), Text("ISUpdateINGText"));
  Click(Control("closebtn"));
  EXPECT_TRUE(window_->Window()->isVisible());
  QTest::keyClick(window_->Window(), Qt::Key_Escape);
  EXPECT_TRUE(window_->Window()->isVisible());
  window_->Window()->close();
  EXPECT_TRUE(window_->Window()->isVisible());
  // The program's end stops the download at once.
  window_->ForceClose();
  EXPECT_FALSE(window_->Window()->isVisible());
  EXPECT_EQ(window_->UpdatePage()->Session(), nullptr);
}

TEST_F(UpdatePageTest, NoServerConfigured) {
  Open(false);
  ASSERT_TRUE(WaitForStatus(window_status::kNoServer));
  EXPECT_EQ(StatusText(), Text("UpdateNoServerText"));
  EXPECT_FALSE(Control("update_fw_and_ap")->isEnabled());
}

TEST_F(UpdatePageTest, UpToDateShowsTheStoredDate) {
  std::ofstream((data_.path() + "/updatetime.config").toStdString())
      << R"({"updatelasttime":{"value":"2026-1-2"}})";
  Open(true, {MouseAt(0x0200)});
  ASSERT_TRUE(WaitForStatus(window_status::kUpToDate));
  EXPECT_EQ(StatusText(), Text("UpdateIsLastText") + " 2026-1-2");
  EXPECT_EQ(RowText(0, "update_status_text"), Text("UpdateOkText"));
}

}  // namespace
}  // namespace vorlin
