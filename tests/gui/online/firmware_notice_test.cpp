// The firmware notice's decision: current firmware, the shipped updater, or the update page.
#include "app/firmware_notice.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace vorlin {
namespace {

TEST(FirmwareNotice, DecisionByVersionAndUpdater) {
  struct Case {
    int version;
    const char* updater;
    FirmwareNoticeAction action;
  };
  const Case cases[] = {
      {0x0108, "/opt/vorlin/Updata/updater", FirmwareNoticeAction::kCurrent},
      {0x0108, "", FirmwareNoticeAction::kCurrent},
      {0x0107, "/opt/vorlin/Updata/updater", FirmwareNoticeAction::kRunUpdater},
      {0x0107, "", FirmwareNoticeAction::kPointToUpdatePage},
      {0, "", FirmwareNoticeAction::kPointToUpdatePage},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecideFirmwareNotice(c.version, QString::fromLatin1(c.updater)), c.action)
        << c.version << " " << c.updater;
  }
}

TEST(FirmwareNotice, UpdaterIsTheFirstExecutableFile) {
  QTemporaryDir folder;
  EXPECT_EQ(FindFirmwareUpdater(folder.path()), QString());
  EXPECT_EQ(FindFirmwareUpdater(folder.path() + "/missing"), QString());
  auto make = [&](const char* name, bool executable) {
    QFile file(folder.path() + "/" + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\n");
    file.close();
    if (executable) file.setPermissions(file.permissions() | QFile::ExeOwner);
  };
  make("a-readme.txt", false);
  EXPECT_EQ(FindFirmwareUpdater(folder.path()), QString()) << "a file that cannot run is no updater";
  make("updater", true);
  make("z-updater", true);
  EXPECT_EQ(FindFirmwareUpdater(folder.path()), folder.path() + "/updater");
}

}  // namespace
}  // namespace vorlin
