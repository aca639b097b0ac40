#pragma once

// The name of a key's function, as the device pages show it in their key lists and tooltips.

#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "input/function_code.h"

namespace vorlin {

// Turns a text key of the language files into the text of the current language.
using TextResolver = std::function<std::string(std::string_view text_key)>;

// The text key of a function type the program does not know (the Chinese word for "off", which
// the language files translate).
inline constexpr std::string_view kUnknownFunctionName = "\u5173\u95ed";
inline constexpr std::string_view kNoFunctionName = "com_key_nothing";

// The resolved name of `code`. A key with modifiers and no name of its own is named by its parts
// joined with "+" (e.g. "LCtrl+A"); a macro call is named by the macro's own name from
// `macro_names` (not translated). A code of a known type that matches no entry has an empty name.
std::string AssignmentName(FunctionCode code, std::span<const std::string> macro_names,
                           const TextResolver& resolve);

}  // namespace vorlin
