#pragma once

// What the shoot panel needs from the mouse page it belongs to: sending the guns to the mouse,
// telling the user something, and the file dialogs of import and export. The page implements it;
// the panel's tests use a stand-in.

#include <QString>

class QWidget;

namespace vorlin {

class ShootHost {
 public:
  virtual ~ShootHost() = default;

  // Sends the four gun files of the mouse's user data folder to the mouse in one image (the
  // mouse's own DownloadShootData); 1 when the mouse took it, anything else when it did not.
  virtual int DownloadShootData() = 0;
  // Tells the user something (a language key) with a single confirm button, over `owner`.
  virtual void ShowShootNotice(QWidget* owner, const QString& text_key) = 0;
  // The open dialog of an import and the save dialog of an export, with `filter`
  // ("Shoot Files(*.shoot)"); the chosen path, or empty when the user cancelled.
  virtual QString OpenShootFile(QWidget* owner, const QString& filter) = 0;
  virtual QString SaveShootFile(QWidget* owner, const QString& filter) = 0;
};

// The program's message box with the "tips_text" title, for ShowShootNotice.
void ShowShootNoticeBox(QWidget* owner, const QString& text_key);

}  // namespace vorlin
