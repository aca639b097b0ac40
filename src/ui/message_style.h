#pragma once

// How the message box presents a message: the title that names its kind, the verbs on its
// buttons and whether confirming destroys something. Pure data, decided from the message's text
// key, so that every panel's message looks the same without each call site choosing a look.

#include <QString>

namespace vorlin {

enum class MessageKind { kInformation, kWarning, kError, kConfirm };

struct MessageStyle {
  MessageKind kind = MessageKind::kInformation;
  QString
      titleKey;  // "msg_title_info", "msg_title_warning", "msg_title_error", "msg_title_confirm"
  QString confirmKey;  // the confirming button's verb ("msg_btn_delete"; "confirm_text" for OK)
  QString cancelKey;   // the other button ("cancel_text" unless cancelling does more)
  // Confirming destroys something: Cancel is the default button, so Enter does not destroy.
  bool destructive = false;
};

// The look of the message with `text_key`; `question` tells a question (two buttons) from a
// notice (one). Unknown questions are plain confirmations with "OK"; unknown notices are errors
// when their key says something failed or was refused, information otherwise.
MessageStyle MessageStyleFor(const QString& text_key, bool question);

// The title key of a kind.
QString MessageTitleKey(MessageKind kind);

}  // namespace vorlin
