#pragma once

// What the main window does when the mouse reports its firmware version (the firmware notice):
// nothing for a current firmware; otherwise, with the updater program shipped in the install
// folder's "Updata" folder, it asks to run it (and the program ends when the user declines, since
// it cannot work with that firmware); without an updater it tells the user to update from the
// settings window's update page and goes on.

#include <QString>

namespace vorlin {

// Firmware versions from this one on are current.
inline constexpr int kCurrentFirmwareFrom = 264;

enum class FirmwareNoticeAction { kCurrent, kRunUpdater, kPointToUpdatePage };

FirmwareNoticeAction DecideFirmwareNotice(int version, const QString& updater);

// The updater program in `folder`: its first executable file by name; empty when there is none.
QString FindFirmwareUpdater(const QString& folder);

}  // namespace vorlin
