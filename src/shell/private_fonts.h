#pragma once

#include <QString>
#include <QStringList>

#include "ui/font_registry.h"

namespace vorlin {

// The program's own fonts: every font file of a folder (normally the install folder's "Font"),
// registered for this program only, never installed for the desktop. A file that is missing,
// unreadable or not a font is logged and skipped; the others still load. Destruction removes the
// fonts again, newest first. Needs a QGuiApplication.
class PrivateFonts {
 public:
  // Loads the font files (.ttf, .otf, .ttc, .otc, any case) of `folder` in name order. Returns how
  // many loaded. A missing folder is logged and loads nothing.
  int LoadFolder(const QString& folder);
  // Loads one file; false (logged) when it cannot be read or is not a font.
  bool LoadFile(const QString& path);
  // Removes every loaded font, newest first.
  void Clear() {
    registry_.RemoveAll();
    families_.clear();
  }

  int Count() const { return registry_.Count(); }
  // The families the loaded files provide, in load order, without repeats.
  const QStringList& Families() const { return families_; }

  // The file names LoadFolder() considers, in the order it loads them.
  static QStringList FontFilesIn(const QString& folder);

 private:
  FontRegistry registry_;
  QStringList families_;
};

}  // namespace vorlin
