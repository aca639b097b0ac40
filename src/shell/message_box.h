#pragma once

#include <memory>

#include <QPointer>
#include <QPushButton>
#include <QString>

#include "ui/message_style.h"
#include "ui/notification.h"

class QDialog;
class QWidget;

namespace vorlin {

// Which buttons a message shows.
inline constexpr int kMessageConfirmOnly = 0;    // "confirm_btn"
inline constexpr int kMessageConfirmCancel = 1;  // "confirm_btn" and "cancel_btn"

// Asks the user a question or tells them something, modally, over `owner` (may be null). Title
// and text are language keys; with `text_is_key` false the text is shown as given. An empty title
// or text leaves the layout's own. Returns 1 when the user confirms, 0 otherwise ("cancel_btn",
// "closebtn", Escape, the window closed).
int ShowMessageBox(QWidget* owner, const QString& title_key, const QString& text_key,
                   bool text_is_key = true, int dpi = 96, int buttons = kMessageConfirmOnly);

// Asks or tells the message of `text_key`, titled by its kind, its buttons named by what they do
// (see MessageStyleFor). `shown_text`, when not empty, is shown instead of the key's text (the
// key's text with its blanks filled in). Returns 1 when the user confirms, 0 otherwise; for a
// destructive question Enter and Escape both answer 0.
int ShowStyledMessage(QWidget* owner, const QString& text_key, bool question, int dpi = 96,
                      const QString& shown_text = QString());

// The text of `text_key` with the name of what it is about in its "%1"; empty when the text has
// no "%1" (then the key's own text is shown as it is).
QString MessageTextAbout(const QString& text_key, const QString& object);

// The scale a message box accepts: 48, 72, 96, 120, 144, 168 or 192; any other value is logged
// and 96 is used.
int MessageBoxDpi(int requested);

// The message window ("XML_MSG": "MessageTitle", "MessageText", "confirm_btn", "cancel_btn",
// "closebtn", "minbtn", "maxbtn", "restorebtn"). ShowMessageBox() is the usual way in; tests build
// one directly to look at it before it runs.
class CMsgWnd : public NotifyHandler {
 public:
  explicit CMsgWnd(QWidget* owner);
  ~CMsgWnd() override;
  CMsgWnd(const CMsgWnd&) = delete;
  CMsgWnd& operator=(const CMsgWnd&) = delete;

  void SetMessage(const QString& title_key, const QString& text_key, bool text_is_key);
  void SetButtons(int buttons);
  // Title, button texts and default button of `style`.
  void SetStyle(const MessageStyle& style);
  void SetDpi(int dpi);
  // Shows the window modally and returns 1 (confirmed) or 0.
  int Exec();

  QDialog* Window() const { return dialog_.get(); }
  void Notify(const Notification& notification) override;

 private:
  QWidget* owner_;
  std::unique_ptr<QDialog> dialog_;
  QPointer<QPushButton> safe_button_;  // has the focus when the window opens
};

}  // namespace vorlin
