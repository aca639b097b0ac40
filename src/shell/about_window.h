#pragma once

#include <memory>

#include <QObject>
#include <QString>

#include "shell/homepage.h"
#include "ui/notification.h"

class QDialog;
class QWidget;

namespace vorlin {

// The about window ("AboutWnd.xml", 800 x 572, modal): "software_ver_label" shows the text of
// "software_rev_text" followed by the program's version, and follows language changes;
// "closebtn" closes it; "homepage_btn" opens the program's home page in the browser, and is
// hidden when the build names no usable page.
class CAboutWnd : public QObject, public NotifyHandler {
  Q_OBJECT

 public:
  explicit CAboutWnd(QWidget* owner, const QUrl& homepage = HomepageUrl());
  ~CAboutWnd() override;

  // Shows the window modally until it is closed.
  void Exec();
  // Closes it (the main window closes its secondary windows together).
  void Close();

  QDialog* Window() const { return dialog_.get(); }
  void Notify(const Notification& notification) override;

 private:
  void UpdateVersionText();

  QWidget* owner_;
  std::unique_ptr<QDialog> dialog_;
  QUrl homepage_;
};

// "Version: " + "V0.1.0": the label's text from the translated key and the version.
QString AboutVersionText(const QString& translated_label, const QString& version);

}  // namespace vorlin
