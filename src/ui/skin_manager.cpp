#include "ui/skin_manager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include "platform/log.h"

namespace vorlin {

SkinManager& SkinManager::Instance() {
  static SkinManager instance;
  return instance;
}

QString NormaliseSkinPath(const QString& name) {
  QString path = name;
  path.replace(QLatin1Char('\\'), QLatin1Char('/'));
  while (path.startsWith(QLatin1Char('/'))) path.remove(0, 1);
  return path;
}

QString ImageFileOfDescription(const QString& description) {
  static const QRegularExpression file_re(QStringLiteral("file\\s*=\\s*'([^']*)'"));
  const QRegularExpressionMatch m = file_re.match(description);
  return m.hasMatch() ? m.captured(1) : description.trimmed();
}

void SkinManager::SetSkinFolder(const QString& folder) {
  folder_ = QDir(folder).absolutePath();
  aliases_.clear();
  images_.clear();
  if (!QFileInfo(folder_).isDir()) qCWarning(lcVorlin) << "skin folder missing:" << folder_;
  QDir::setSearchPaths(QStringLiteral("skin"), {folder_});
  ReadIndex();
}

// The index lists layout aliases: <res><layout name="XML_MAIN" file="XML/main.xml"/></res>.
void SkinManager::ReadIndex() {
  QFile file(QDir(folder_).filePath(QStringLiteral("res.xml")));
  if (!file.open(QIODevice::ReadOnly)) return;
  QXmlStreamReader xml(&file);
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("layout")) {
      const QString name = xml.attributes().value(QLatin1String("name")).toString();
      const QString path = xml.attributes().value(QLatin1String("file")).toString();
      if (!name.isEmpty() && !path.isEmpty()) aliases_.insert(name, path);
    }
  }
  if (xml.hasError()) qCWarning(lcVorlin) << "skin index res.xml unreadable:" << xml.errorString();
}

QString SkinManager::FindFile(const QString& name) const {
  // A full path (a file outside the skin) is taken as it is.
  if (name.startsWith(QLatin1Char('/')) && QFileInfo(name).isFile()) return name;
  const QString relative = NormaliseSkinPath(name);
  if (relative.isEmpty()) return {};
  const QString path = QDir(folder_).filePath(relative);
  if (QFileInfo(path).isFile()) return path;
  qCWarning(lcVorlin) << "skin file missing:" << name;
  return {};
}

QString SkinManager::FindLayout(const QString& name) const {
  const auto alias = aliases_.constFind(name);
  return FindFile(alias != aliases_.constEnd() ? *alias : name);
}

QImage SkinManager::Image(const QString& description, QSize size) const {
  QString name = ImageFileOfDescription(description);
  if (name.isEmpty()) return {};
  // The skin draws its pictures as vector artwork: a bitmap name it lacks is served by the
  // drawing of the same name.
  if (name.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) &&
      !QFileInfo(QDir(folder_).filePath(NormaliseSkinPath(name))).isFile()) {
    const QString drawing = name.left(name.size() - 4) + QStringLiteral(".svg");
    if (QFileInfo(QDir(folder_).filePath(NormaliseSkinPath(drawing))).isFile()) name = drawing;
  }
  const bool vector = name.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive);
  const QString key = vector && size.isValid()
                          ? name + QStringLiteral("@%1x%2").arg(size.width()).arg(size.height())
                          : name;
  const auto cached = images_.constFind(key);
  if (cached != images_.constEnd()) return *cached;
  QImage image;
  const QString path = FindFile(name);
  if (!path.isEmpty()) {
    QImageReader reader(path);
    if (vector && size.isValid()) reader.setScaledSize(size);
    if (!reader.read(&image)) qCWarning(lcVorlin) << "skin image unreadable:" << path;
  }
  images_.insert(key, image);  // a missing image is remembered too, so it is logged once
  return image;
}

QString SkinManager::StyleSheet() const {
  QFile file(FindFile(QStringLiteral("style.qss")));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

}  // namespace vorlin
