#include "shell/skin_settings.h"

#include <QSettings>

#include "platform/log.h"
#include "shell/app_paths.h"

namespace vorlin {

namespace {

constexpr char kFlagsKey[] = "SKINIMAGE/FLAGS";
constexpr char kImageKey[] = "SKINIMAGE/IMAGE";

}  // namespace

SkinImageSetting DefaultSkinImageSetting() {
  return {false, QString::fromLatin1(kDefaultSkinImage)};
}

SkinImageSetting ReadSkinImageSetting(const QString& path) {
  const QSettings ini(path, QSettings::IniFormat);
  if (ini.status() != QSettings::NoError) {
    qCWarning(lcVorlin) << "skin settings unreadable:" << path;
    return DefaultSkinImageSetting();
  }
  bool ok = false;
  const int flags = ini.value(QLatin1String(kFlagsKey)).toString().trimmed().toInt(&ok);
  const QString image = ini.value(QLatin1String(kImageKey)).toString().trimmed();
  if (!ok || (flags != 0 && flags != 1) || image.isEmpty()) return DefaultSkinImageSetting();
  return {flags == 1, image};
}

bool WriteSkinImageSetting(const QString& path, const SkinImageSetting& setting) {
  QSettings ini(path, QSettings::IniFormat);
  ini.setValue(QLatin1String(kFlagsKey),
               setting.from_list ? QStringLiteral("1") : QStringLiteral("0"));
  ini.setValue(QLatin1String(kImageKey), setting.image);
  ini.sync();
  if (ini.status() != QSettings::NoError) {
    qCWarning(lcVorlin) << "cannot write skin settings" << path;
    return false;
  }
  return true;
}

QString SkinSettingsPath() {
  return UserDataPath(QStringLiteral("main.ini"));
}

}  // namespace vorlin
