#pragma once

#include <QString>

namespace vorlin {

// The skin choice in "main.ini" (per-user data folder), section "SKINIMAGE":
//   FLAGS  1 while a picture chosen from the skin list is in use, 0 after a reset
//   IMAGE  the picture: a path relative to the skin folder or an absolute file path
struct SkinImageSetting {
  bool from_list = false;
  QString image;
  bool operator==(const SkinImageSetting&) const = default;
};

inline constexpr char kDefaultSkinImage[] = "common/background.png";

// The setting of a reset skin: FLAGS 0, the default picture.
SkinImageSetting DefaultSkinImageSetting();

// Reads the file; a missing, unreadable or damaged file, or one whose FLAGS is not 0 or 1 or whose
// IMAGE is empty, gives the default.
SkinImageSetting ReadSkinImageSetting(const QString& path);
// Writes both keys (other sections and keys of the file are kept). False (logged) when the file
// cannot be written.
bool WriteSkinImageSetting(const QString& path, const SkinImageSetting& setting);

// The per-user "main.ini".
QString SkinSettingsPath();

}  // namespace vorlin
