#include "ui/message_style.h"

#include <algorithm>
#include <iterator>

namespace vorlin {

namespace {

struct Entry {
  const char* textKey;
  MessageKind kind;
  const char* confirmKey;
  const char* cancelKey;
  bool destructive;
};

constexpr char kOk[] = "confirm_text";
constexpr char kCancel[] = "cancel_text";

// Every message the program asks or tells, by its text key.
constexpr Entry kEntries[] = {
    // Questions.
    {"message_text_4", MessageKind::kConfirm, "msg_btn_delete", kCancel, true},   // a macro
    {"message_text_2", MessageKind::kConfirm, "msg_btn_delete", kCancel, true},   // a macro in use
    {"message_text_29", MessageKind::kConfirm, "msg_btn_delete", kCancel, true},  // a profile
    {"message_text_22", MessageKind::kConfirm, "msg_btn_reset", kCancel, true},  // factory settings
    {"message_text_27", MessageKind::kConfirm, "msg_btn_create", kCancel, false},  // a profile
    {"message_text_28", MessageKind::kConfirm, "msg_btn_create", kCancel, false},  // a macro
    {"message_text_26", MessageKind::kConfirm, "msg_btn_copy", kCancel, false},
    // The firmware must be updated: declining ends the program, so the button says so.
    {"message_text_24", MessageKind::kConfirm, "msg_btn_update", "msg_btn_quit", false},
    {"firmware_update_page_text", MessageKind::kConfirm, "msg_btn_open_settings", kCancel, false},
    // Notices.
    {"message_text_5", MessageKind::kWarning, kOk, kCancel, false},       // name taken
    {"message_text_25", MessageKind::kWarning, kOk, kCancel, false},      // name empty
    {"message_text_30", MessageKind::kWarning, kOk, kCancel, false},      // too many
    {"message_text_6", MessageKind::kWarning, kOk, kCancel, false},       // the only left button
    {"message_text_17", MessageKind::kWarning, kOk, kCancel, false},      // a long macro
    {"message_text_31", MessageKind::kInformation, kOk, kCancel, false},  // delay raised
    {"message_text_7", MessageKind::kError, kOk, kCancel, false},         // macros not written
    {"message_text_16", MessageKind::kError, kOk, kCancel, false},        // macros too long
    {"storage_failed_text", MessageKind::kError, kOk, kCancel, false},
};

}  // namespace

QString MessageTitleKey(MessageKind kind) {
  switch (kind) {
    case MessageKind::kWarning:
      return QStringLiteral("msg_title_warning");
    case MessageKind::kError:
      return QStringLiteral("msg_title_error");
    case MessageKind::kConfirm:
      return QStringLiteral("msg_title_confirm");
    case MessageKind::kInformation:
      break;
  }
  return QStringLiteral("msg_title_info");
}

MessageStyle MessageStyleFor(const QString& text_key, bool question) {
  MessageStyle style;
  style.confirmKey = QString::fromLatin1(kOk);
  style.cancelKey = QString::fromLatin1(kCancel);
  auto found = std::find_if(std::begin(kEntries), std::end(kEntries),
                            [&text_key](const Entry& e) { return text_key == e.textKey; });
  // A notice's entry does not fit a question (nor the other way round): the caller's form wins.
  if (found != std::end(kEntries) && (found->kind == MessageKind::kConfirm) == question) {
    style.kind = found->kind;
    style.confirmKey = QString::fromLatin1(found->confirmKey);
    style.cancelKey = QString::fromLatin1(found->cancelKey);
    style.destructive = found->destructive;
  } else if (question) {
    style.kind = MessageKind::kConfirm;
  } else if (text_key.contains(u"failed") || text_key.contains(u"refused")) {
    style.kind = MessageKind::kError;
  }
  style.titleKey = MessageTitleKey(style.kind);
  return style;
}

}  // namespace vorlin
