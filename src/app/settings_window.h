#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QString>

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
//   "closebtn": closes the window
class CSetWnd : public NotifyHandler {
 public:
  // What the window needs from the main window: the language list, the index in use (-1 when
  // none), and switching to the user's choice.
  struct LanguageSource {
    std::function<std::vector<LanguageEntry>()> entries;
    std::function<int()> current;
    std::function<void(int index)> choose;
  };

  CSetWnd(QWidget* owner, LanguageSource languages);
  ~CSetWnd() override;
  CSetWnd(const CSetWnd&) = delete;
  CSetWnd& operator=(const CSetWnd&) = delete;

  // Fills the language list and shows the window over its owner (or raises it when open).
  void Show();
  void Close();

  QDialog* Window() const { return dialog_.get(); }
  QComboBox* LanguageList() const;
  void Notify(const Notification& notification) override;

 private:
  QWidget* owner_;
  LanguageSource languages_;
  std::unique_ptr<QDialog> dialog_;
};

}  // namespace vorlin
