#include "app/firmware_notice.h"

#include <QDir>
#include <QFileInfo>

namespace vorlin {

FirmwareNoticeAction DecideFirmwareNotice(int version, const QString& updater) {
  if (version >= kCurrentFirmwareFrom) return FirmwareNoticeAction::kCurrent;
  return updater.isEmpty() ? FirmwareNoticeAction::kPointToUpdatePage
                           : FirmwareNoticeAction::kRunUpdater;
}

QString FindFirmwareUpdater(const QString& folder) {
  const QFileInfoList files =
      QDir(folder).entryInfoList(QDir::Files | QDir::Executable, QDir::Name);
  return files.isEmpty() ? QString() : files.front().absoluteFilePath();
}

}  // namespace vorlin
