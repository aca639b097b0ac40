#pragma once

// Numbers typed into the key-assignment panel's edits.

#include <string_view>

namespace vorlin {

// The decimal number at the start of `text`, after leading blanks and an optional sign; 0 when
// there is none. Digits beyond the range of int saturate instead of wrapping.
int ReadEditNumber(std::string_view text);

}  // namespace vorlin
