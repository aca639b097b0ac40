#include "shell/private_fonts.h"

#include <QDir>
#include <QFileInfo>

#include "platform/log.h"

namespace vorlin {

namespace {

// A font file bigger than this is not one of ours; reading it whole would only waste memory.
constexpr qint64 kMaxFontBytes = 64 * 1024 * 1024;

}  // namespace

QStringList PrivateFonts::FontFilesIn(const QString& folder) {
  QStringList fonts;
  const QStringList files =
      QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
  for (const QString& file : files) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == u"ttf" || suffix == u"otf" || suffix == u"ttc" || suffix == u"otc") {
      fonts.append(file);
    }
  }
  return fonts;
}

int PrivateFonts::LoadFolder(const QString& folder) {
  if (!QDir(folder).exists()) {
    qCWarning(lcVorlin) << "font folder missing:" << folder;
    return 0;
  }
  int loaded = 0;
  for (const QString& file : FontFilesIn(folder)) {
    if (LoadFile(QDir(folder).filePath(file))) ++loaded;
  }
  return loaded;
}

bool PrivateFonts::LoadFile(const QString& path) {
  if (QFileInfo(path).size() > kMaxFontBytes) {
    qCWarning(lcVorlin) << "font skipped, too large:" << path;
    return false;
  }
  const QStringList families = registry_.AddFromFile(path);  // logs a file it cannot use
  if (families.isEmpty()) {
    qCWarning(lcVorlin) << "font skipped:" << path;
    return false;
  }
  for (const QString& family : families) {
    if (!families_.contains(family)) families_.append(family);
  }
  qCInfo(lcVorlin) << "font loaded:" << path << families;
  return true;
}

}  // namespace vorlin
