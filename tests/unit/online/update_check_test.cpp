#include "online/update_check.h"

#include <gtest/gtest.h>

#include <fstream>

#include <QTemporaryDir>

#include "hid/device_tables.h"

namespace vorlin {
namespace {

SupportedDeviceEntry Row(size_t index, int version) {
  SupportedDeviceEntry entry = SupportedDeviceTable().at(index);
  entry.currentVersion = version;
  return entry;
}

TEST(UpdateTargets, OnlyTheApplicationWithoutDevices) {
  const auto targets = UpdateTargets(SupportedDeviceTable(), {});
  ASSERT_EQ(targets.size(), 1u);
  EXPECT_EQ(RowName(targets[0]), "AP");
  EXPECT_EQ(targets[0].currentVersion, 1);
}

TEST(UpdateTargets, ConnectedDevicesTakeTheirRowsInTableOrder) {
  // The keyboard by its receiver, the mouse by cable; the headset has no row.
  const auto targets = UpdateTargets(
      SupportedDeviceTable(),
      {{kKindKeyboardReceiver, 0x0200}, {kKindHeadset, 0x0300}, {kKindMouse, 0x0107}});
  ASSERT_EQ(targets.size(), 3u);
  EXPECT_EQ(targets[0].displayCode, "MS");
  EXPECT_EQ(targets[0].currentVersion, 0x0107);
  EXPECT_EQ(targets[1].displayCode, "KB");
  EXPECT_EQ(targets[1].currentVersion, 0x0200);
  EXPECT_EQ(RowName(targets[2]), "AP");
}

TEST(UpdateRequest, KeysBodiesAndVersionTexts) {
  struct Case {
    SupportedDeviceEntry target;
    const char* key;
    const char* body;
    const char* versionText;
  };
  SupportedDeviceEntry app_without_text = Row(3, 12);
  app_without_text.versionText.clear();
  const Case cases[] = {
      {Row(0, 0x0107), "TORVA_1_QX20M01A_MS_1", "app_key=TORVA_1_QX20M01A_MS_1&version=107",
       "V0107"},
      {Row(1, 0x1AB), "TORVA_1_QX20K01A_KB_1", "app_key=TORVA_1_QX20K01A_KB_1&version=1ab",
       "V01ab"},
      {Row(2, 5), "TORVA_2_QX20P01A_1_P10_1", "app_key=TORVA_2_QX20P01A_1_P10_1&version=5",
       "V0005"},
      {Row(3, 1), "TORVA_0_ALL_P10_1", "app_key=TORVA_0_ALL_P10_1&version=1", "V0101"},
      {app_without_text, "TORVA_0_ALL_P10_1", "app_key=TORVA_0_ALL_P10_1&version=12", "V12"},
      {Row(0, 0), "NULL", "app_key=NULL&version=0", "V0000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ApplicationKey(c.target), c.key);
    EXPECT_EQ(RequestBody(c.target), c.body);
    EXPECT_EQ(CurrentVersionText(c.target), c.versionText) << c.key;
  }
}

TEST(UpdateAnswerParsing, ReadsTheMembersOrNothing) {
  const auto answer = ParseUpdateAnswer(
      R"({"path":"https://h/files/a.deb","name":"MS","version_name":"1.09","version":"0109","device_id":1})");
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->path, "https://h/files/a.deb");
  EXPECT_EQ(answer->versionName, "1.09");
  EXPECT_EQ(answer->version, "0109");
  EXPECT_EQ(answer->deviceId, 1);
  for (const char* bad : {"", "NO_LINK_SERVER", "[1,2]", "{}", R"({"name":""})",
                          R"({"name":7,"version":"2"})", "{\"name\":\"MS\"", "\xff\xfe"}) {
    EXPECT_FALSE(ParseUpdateAnswer(bad)) << bad;
  }
  // Members of the wrong type are empty, not a crash.
  const auto odd = ParseUpdateAnswer(R"({"name":"AP","path":5,"device_id":"x","version":[]})");
  ASSERT_TRUE(odd);
  EXPECT_EQ(odd->path, "");
  EXPECT_EQ(odd->deviceId, 0);
}

TEST(UpdateAnswerApplying, StatusVersionsAndFile) {
  struct Case {
    SupportedDeviceEntry target;
    const char* version;
    const char* path;
    int status;
    const char* newText;
    const char* localFile;
  };
  const Case cases[] = {
      // Firmware versions are hexadecimal: 0x0109 > 0x0107.
      {Row(0, 0x0107), "0109", "https://h/files/fw.sh", row_status::kNeed, "V0109", "/t/MS.sh"},
      {Row(0, 0x0107), "0107", "https://h/files/fw", row_status::kUpToDate, "V0107", "/t/MS"},
      // "10" is 16 as firmware, above 0x0f.
      {Row(1, 0x0f), "10", "https://h/a/b.AppImage?x=1", row_status::kNeed, "V10",
       "/t/KB.AppImage"},
      // The application's versions are decimal; the new text is the server's name for it.
      {Row(3, 1), "2", "https://h/files/setup.deb", row_status::kNeed, "V0102", "/t/AP.deb"},
      {Row(3, 3), "2", "https://h/files/setup.deb", row_status::kUpToDate, "V0102", "/t/AP.deb"},
      // A server's file name cannot lead out of the folder: only the row's name is used.
      {Row(3, 1), "2", "https://h/../../x/..", row_status::kNeed, "V0102", "/t/AP"},
  };
  for (const Case& c : cases) {
    UpdateAnswer answer{c.path, "ignored", "V0102", c.version, 0};
    const UpdateRow row = ApplyAnswer(c.target, answer, "/t/", InitialRow(c.target));
    EXPECT_EQ(row.status, c.status) << c.version << " " << c.path;
    EXPECT_EQ(row.newVersionText, c.newText) << c.version;
    EXPECT_EQ(row.localFile, c.localFile) << c.path;
    EXPECT_EQ(row.downloadUrl, c.path);
  }
  // A version that is not a number leaves the row as it was before the answer.
  for (const char* version : {"", "abc", "1.2", "12x"}) {
    const UpdateRow before = InitialRow(Row(3, 1));
    const UpdateRow after =
        ApplyAnswer(Row(3, 1), {"https://h/f", "AP", "V9", version, 0}, "/t/", before);
    EXPECT_EQ(after.status, row_status::kUpToDate) << version;
    EXPECT_EQ(after.downloadUrl, "") << version;
  }
}

TEST(UpdateStatuses, TextsTickingClosingAndOutcome) {
  const char* row_keys[] = {"LessUpdateText",  "NeedUpdateText", "NeedUpdateText",
                            "DownloadWaitText", "DownloadIngText", "DownloadOkText",
                            "UpdateIngText",   "UpdateOkText",   "UpdateFailText"};
  for (int status = 0; status <= 8; ++status) {
    EXPECT_STREQ(RowStatusTextKey(status), row_keys[status]);
    EXPECT_EQ(RowIsTickable(status), status == 1 || status == 2 || status == 8) << status;
    UpdateRow row;
    row.status = status;
    const bool busy = status >= 3 && status <= 6;
    EXPECT_EQ(CloseAllowed({UpdateRow{}, row}), !busy) << status;
  }
  UpdateRow up_to_date;
  UpdateRow needed;
  needed.status = row_status::kNeed;
  EXPECT_EQ(CheckOutcome({up_to_date, needed}, false), window_status::kHaveUpdates);
  EXPECT_EQ(CheckOutcome({up_to_date}, true), window_status::kNoServer);
  EXPECT_EQ(CheckOutcome({up_to_date}, false), window_status::kUpToDate);
  EXPECT_STREQ(WindowStatusTextKey(window_status::kNoServer), "NoUpdateInfoText");
}

TEST(UpdateTime, StampsTodayOnceAndKeepsTheStoredDate) {
  QTemporaryDir dir;
  const std::string path = (dir.path() + "/updatetime.config").toStdString();
  EXPECT_EQ(DateText(2026, 3, 7), "2026-3-7");
  EXPECT_EQ(ReadOrStampUpdateTime(path, "2026-3-7"), "2026-3-7");
  EXPECT_EQ(ReadOrStampUpdateTime(path, "2026-4-1"), "2026-3-7") << "the first date stays";
  // Damaged or odd documents are no date: today's is written over them.
  for (const char* text : {"not json", "[]", R"({"updatelasttime":"x"})",
                           R"({"updatelasttime":{"value":null}})"}) {
    std::ofstream(path) << text;
    EXPECT_EQ(ReadOrStampUpdateTime(path, "2026-5-2"), "2026-5-2") << text;
    EXPECT_EQ(ReadOrStampUpdateTime(path, "2026-6-2"), "2026-5-2") << text;
  }
}

}  // namespace
}  // namespace vorlin
