#pragma once

// The messages of the key-assignment flow and the text a message box shows for them.

#include <optional>

#include <QString>

namespace vorlin {

// The only left button cannot be given another function.
inline constexpr char kOnlyLeftButtonMessage[] = "message_text_6";
// The macros could not be written to the device.
inline constexpr char kMacroWriteFailedMessage[] = "message_text_7";
// The macros are "%d" events too large for the device's macro memory.
inline constexpr char kMacroImageTooLargeMessage[] = "message_text_16";
// The key table could not be written to the device.
inline constexpr char kKeyTableWriteFailedMessage[] = "keyset_apply_failed_text";

// The text of `text_key` in the current language; with an argument, its first "%d" becomes the
// number. The text is never used as a printf format, so a language file cannot make it read
// arguments that are not there.
QString KeySetMessageText(const QString& text_key, std::optional<int> argument);

}  // namespace vorlin
