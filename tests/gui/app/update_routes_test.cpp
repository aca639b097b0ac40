// The main window's update routes over the emulated devices and a local update server: the
// settings window asks about the program and every connected device, the settings button gets
// its badge when an update exists and loses it when all is up to date.
#include <gtest/gtest.h>

#include <QDialog>

#include "app/settings_window.h"
#include "main_window_fixture.h"
#include "support/update_test_server.h"

namespace vorlin {
namespace {

using test::UpdateTestServer;

class UpdateRoutesTest : public test::MainWindowFixture {
 protected:
  void TearDown() override {
    MainWindowFixture::TearDown();
    qunsetenv("VORLIN_UPDATE_URL");
    qunsetenv("VORLIN_UPDATE_CA_FILE");
  }
  void PointAt(const UpdateTestServer& server) {
    qputenv("VORLIN_UPDATE_URL", QByteArray::fromStdString(server.BaseUrl()));
    qputenv("VORLIN_UPDATE_CA_FILE", QByteArray::fromStdString(server.CaFile()));
  }
  bool WaitForStatus(int status) {
    return QTest::qWaitFor(
        [&] {
          CSetWnd* settings = window_->SettingsWindow();
          return settings && settings->UpdatePage()->WindowStatus() == status;
        },
        20000);
  }
};

TEST_F(UpdateRoutesTest, ConnectedDevicesAreAskedAboutAndTheBadgeShows) {
  UpdateTestServer server(UpdateTestServer::Https());
  ASSERT_TRUE(server.Running());
  PointAt(server);
  ASSERT_TRUE(WaitShown({"mouse", "keyboard", "MousePad", "HD"}, 5000));
  EXPECT_FALSE(window_->UpdateBadgeShown());
  window_->OnMenuChoice(QStringLiteral("setwnd_menu"));
  ASSERT_TRUE(WaitForStatus(window_status::kHaveUpdates));
  EXPECT_TRUE(window_->UpdateBadgeShown());
  // The mouse, keyboard and mouse pad rows (the headset has none), then the program's.
  const std::vector<UpdateRow> rows = window_->SettingsWindow()->UpdatePage()->Session()->Rows();
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].name, "MS");
  EXPECT_EQ(rows[1].name, "KB");
  EXPECT_EQ(rows[2].name, "P10");
  EXPECT_EQ(rows[3].name, "AP");
  EXPECT_NE(rows[0].currentVersionText, "V0000") << "the mouse's version is read";
  // Message 3094 takes the badge away.
  window_->ClearUpdateBadge();
  EXPECT_FALSE(window_->UpdateBadgeShown());
}

TEST_F(UpdateRoutesTest, UpToDateClearsTheBadgeAndTheWindowOpensCentred) {
  UpdateTestServer::Options options = UpdateTestServer::Https();
  options.answersJson = "{}";
  UpdateTestServer server(options);
  ASSERT_TRUE(server.Running());
  PointAt(server);
  window_->OpenSettingsCentred();
  ASSERT_NE(window_->SettingsWindow(), nullptr);
  EXPECT_TRUE(window_->SettingsWindow()->Window()->isVisible());
  ASSERT_TRUE(WaitForStatus(window_status::kUpToDate));
  EXPECT_FALSE(window_->UpdateBadgeShown());
}

}  // namespace
}  // namespace vorlin
