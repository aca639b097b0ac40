#include "shell/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <atomic>

#include "platform/log.h"
#include "shell/app_identity.h"

#ifndef VORLIN_SOURCE_DATA_DIR
#define VORLIN_SOURCE_DATA_DIR ""
#endif

namespace vorlin {

namespace {

std::atomic<bool> demo_data_folder{false};

bool IsFolder(const QString& path) {
  return !path.isEmpty() && QFileInfo(path).isDir();
}

QString Clean(const QString& path) {
  return QDir::cleanPath(QDir(path).absolutePath());
}

QString ExecutableFolder() {
  // Before a QCoreApplication exists applicationDirPath() has nothing to go on; /proc still knows.
  if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
  return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}

}  // namespace

QString ResolveInstallFolder(const QString& env_value, const QString& executable_folder,
                             const QString& source_data) {
  const QString installed =
      executable_folder.isEmpty()
          ? QString()
          : Clean(executable_folder + QStringLiteral("/../share/") + QLatin1String(kAppName));
  const QString beside =
      executable_folder.isEmpty() ? QString() : Clean(executable_folder + QStringLiteral("/data"));
  for (const QString& candidate : {env_value, installed, beside, source_data}) {
    if (IsFolder(candidate)) return Clean(candidate);
  }
  return installed;
}

QString InstallFolder() {
  static const QString folder = [] {
    const QString resolved =
        ResolveInstallFolder(qEnvironmentVariable("VORLIN_DATA_DIR"), ExecutableFolder(),
                             QString::fromUtf8(VORLIN_SOURCE_DATA_DIR));
    qCInfo(lcVorlin) << "install folder:" << resolved;
    return resolved;
  }();
  return folder;
}

QString ResolveUserDataFolder(const QString& xdg_data_home, const QString& home) {
  // XDG base directory rules: a relative $XDG_DATA_HOME is invalid and to be ignored.
  const QString base = !xdg_data_home.isEmpty() && QDir::isAbsolutePath(xdg_data_home)
                           ? xdg_data_home
                           : home + QStringLiteral("/.local/share");
  return QDir::cleanPath(base + QLatin1Char('/') + QLatin1String(kAppName));
}

QString DemoDataFolder(const QString& user_data_folder) {
  return QDir::cleanPath(user_data_folder + QStringLiteral("/demo"));
}

void UseDemoDataFolder() {
  demo_data_folder.store(true);
}

QString UserDataFolder() {
  QString folder = ResolveUserDataFolder(qEnvironmentVariable("XDG_DATA_HOME"), QDir::homePath());
  if (demo_data_folder.load()) folder = DemoDataFolder(folder);
  if (!QDir().mkpath(folder)) qCWarning(lcVorlin) << "cannot create the data folder" << folder;
  return folder;
}

QString InstallPath(const QString& relative) {
  return QDir(InstallFolder()).filePath(relative);
}

QString UserDataPath(const QString& relative) {
  return QDir(UserDataFolder()).filePath(relative);
}

std::unique_ptr<QSettings> OpenProgramSettings() {
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                     QLatin1String(kAppName), QLatin1String(kAppName));
}

}  // namespace vorlin
