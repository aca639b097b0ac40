#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QString>

#include "app/update_page.h"
#include "shell/language_list.h"
#include "ui/notification.h"

class QComboBox;
class QDialog;
class QWidget;

namespace vorlin {

// The settings window ("setwnd.xml"), kept above the main window:
//   "Language_combox_info": the interface languages, filled each time the window opens with the
//                           language in use selected; choosing another one asks the main window
//                           to switch to it
//   the update page (update_page.h), when the window is given its services
//   "setwnd_about_btn": the about window (version and homepage)
//   "closebtn": closes the window, except while an update is on its way
class CSetWnd : public QObject, public NotifyHandler {
 public:
  // What the window needs from the main window: the language list, the index in use (-1 when
  // none), and switching to the user's choice.
  struct LanguageSource {
    std::function<std::vector<LanguageEntry>()> entries;
    std::function<int()> current;
    std::function<void(int index)> choose;
  };

  CSetWnd(QWidget* owner, LanguageSource languages,
          std::optional<UpdatePageServices> updates = std::nullopt);
  ~CSetWnd() override;
  CSetWnd(const CSetWnd&) = delete;
  CSetWnd& operator=(const CSetWnd&) = delete;

  // Fills the language list and shows the window over its owner (or raises it when open).
  // Opening starts the update check.
  void Show();
  // Closes the window unless an update is on its way; false when it stays open.
  bool Close();
  // Closes at once (the program ends): the update workers are stopped.
  void ForceClose();

  QDialog* Window() const { return dialog_.get(); }
  QComboBox* LanguageList() const;
  // nullptr when the window has no update page.
  CUpdatePage* UpdatePage() const { return update_page_.get(); }
  // What "setwnd_about_btn" does: the main window opens its about window over this one.
  void SetAboutOpener(std::function<void(QWidget* over)> open_about) {
    open_about_ = std::move(open_about);
  }
  // An installer's report, passed on by the main window.
  void OnInstallerReport(int code, int value);
  void Notify(const Notification& notification) override;

 protected:
  // Keeps the window open on Escape or the desktop's close while an update is on its way.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* owner_;
  LanguageSource languages_;
  std::unique_ptr<QDialog> dialog_;
  std::unique_ptr<CUpdatePage> update_page_;
  std::function<void(QWidget* over)> open_about_;
};

}  // namespace vorlin
