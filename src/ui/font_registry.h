#pragma once

#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vorlin {

// The program's private fonts: added from memory, one face made the application's default, all
// removed together (also when the registry is destroyed).
class FontRegistry {
 public:
  FontRegistry() = default;
  ~FontRegistry();
  FontRegistry(const FontRegistry&) = delete;
  FontRegistry& operator=(const FontRegistry&) = delete;

  // Adds a font from its file bytes; returns its families, empty (logged) when refused.
  QStringList AddFromData(const QByteArray& data);
  // Reads and adds a font file; a missing or unreadable file is logged and skipped.
  QStringList AddFromFile(const QString& path);

  // Makes `family` the application's default font at `pixel_size` (0 keeps the current size).
  static void SetDefaultFont(const QString& family, int pixel_size = 0);

  // Removes every font this registry added, newest first.
  void RemoveAll();
  int Count() const { return static_cast<int>(ids_.size()); }

 private:
  std::vector<int> ids_;
};

}  // namespace vorlin
