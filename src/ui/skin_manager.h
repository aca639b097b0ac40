#pragma once

#include <QHash>
#include <QImage>
#include <QSize>
#include <QString>

namespace vorlin {

// Where the skin's files are: layouts, images, stylesheet and language files, all below one skin
// folder chosen at start-up. Names are relative to that folder and may use either slash
// ("XML\DeviceXml\mousedevice.xml" works). A layout name that is not a file name ("XML_MAIN") is
// looked up in the skin's index "res.xml". A missing file is logged and reported as empty; it
// never stops the program.
class SkinManager {
 public:
  // The program's skin. Set its folder once at start-up.
  static SkinManager& Instance();

  // Sets the skin folder, registers it as the "skin:" search path (so stylesheets can say
  // url(skin:images/x.svg)) and reads the index "res.xml" when present.
  void SetSkinFolder(const QString& folder);
  const QString& SkinFolder() const { return folder_; }

  // Full path of an existing skin file (or of an existing file given by its full path); empty
  // (and logged) when it does not exist.
  QString FindFile(const QString& name) const;
  // The layout file for a layout name or an index alias; empty (and logged) when missing.
  QString FindLayout(const QString& name) const;
  // Adds or replaces an index alias (alias -> file name relative to the skin folder).
  void SetAlias(const QString& alias, const QString& file) { aliases_.insert(alias, file); }

  // An image of the skin, cached; a null image (logged once) when missing or unreadable. Accepts a
  // plain name or an image description of the form "file='name' ...". With a `size`, vector
  // artwork is rendered at that size (sharp at any window scale); bitmaps keep their own size.
  // A ".png" the skin lacks is served by the ".svg" of the same name when there is one.
  QImage Image(const QString& description, QSize size = QSize()) const;
  void ClearImageCache() { images_.clear(); }

  // The skin's stylesheet ("style.qss"); empty when missing.
  QString StyleSheet() const;

 private:
  void ReadIndex();

  QString folder_;
  QHash<QString, QString> aliases_;
  mutable QHash<QString, QImage> images_;
};

// "file='a.png' dest='0,0,10,10'" -> "a.png"; a plain name is returned unchanged.
QString ImageFileOfDescription(const QString& description);
// Backslashes to slashes, no leading slash.
QString NormaliseSkinPath(const QString& name);

}  // namespace vorlin
