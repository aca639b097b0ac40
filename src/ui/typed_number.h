#pragma once

// What becomes of a number the user typed into a field: taken as typed, rounded onto the field's
// steps, set to the nearest allowed value, or refused (not a number, or out of range where the
// field refuses rather than limits). Pure: the fields show the verdict next to themselves
// (field_notice.h).

#include <cstdint>
#include <optional>
#include <string_view>

namespace vorlin {

struct NumberRule {
  int min = 0;
  int max = 0;
  int step = 1;  // values are multiples of `step` (1: any whole number)
  // Out of range: set to the nearest limit (true) or refused (false).
  bool limit = true;
};

enum class TypedVerdict { kTaken, kRounded, kLimited, kNotANumber, kOutOfRange };

struct TypedNumber {
  TypedVerdict verdict = TypedVerdict::kNotANumber;
  int value = 0;  // the value to use; for a refusal, 0
};

// A whole decimal number: surrounding blanks ignored, an optional sign, then digits only. Long
// runs of digits saturate instead of wrapping. None for anything else (empty text included).
std::optional<int64_t> ParseTypedInteger(std::string_view text);

TypedNumber CheckTypedNumber(std::string_view text, const NumberRule& rule);

}  // namespace vorlin
