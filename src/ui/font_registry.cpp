#include "ui/font_registry.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QFontDatabase>

#include "platform/log.h"

namespace vorlin {

FontRegistry::~FontRegistry() {
  RemoveAll();
}

QStringList FontRegistry::AddFromData(const QByteArray& data) {
  const int id = QFontDatabase::addApplicationFontFromData(data);
  if (id < 0) {
    qCWarning(lcVorlin) << "font refused," << data.size() << "bytes";
    return {};
  }
  ids_.push_back(id);
  return QFontDatabase::applicationFontFamilies(id);
}

QStringList FontRegistry::AddFromFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    qCWarning(lcVorlin) << "font file missing:" << path;
    return {};
  }
  return AddFromData(file.readAll());
}

void FontRegistry::SetDefaultFont(const QString& family, int pixel_size) {
  QFont font = QApplication::font();
  font.setFamilies({family});
  if (pixel_size > 0) font.setPixelSize(pixel_size);
  QApplication::setFont(font);
}

void FontRegistry::RemoveAll() {
  for (auto it = ids_.rbegin(); it != ids_.rend(); ++it) QFontDatabase::removeApplicationFont(*it);
  ids_.clear();
}

}  // namespace vorlin
