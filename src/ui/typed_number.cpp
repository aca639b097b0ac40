#include "ui/typed_number.h"

#include <algorithm>

namespace vorlin {

namespace {

constexpr int64_t kSaturation = int64_t{1} << 40;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

}  // namespace

std::optional<int64_t> ParseTypedInteger(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = std::min<int64_t>(value * 10 + (c - '0'), kSaturation);
  }
  return negative ? -value : value;
}

TypedNumber CheckTypedNumber(std::string_view text, const NumberRule& rule) {
  const std::optional<int64_t> typed = ParseTypedInteger(text);
  if (!typed) return {TypedVerdict::kNotANumber, 0};
  if (*typed < rule.min || *typed > rule.max) {
    if (!rule.limit) return {TypedVerdict::kOutOfRange, 0};
    return {TypedVerdict::kLimited,
            static_cast<int>(std::clamp<int64_t>(*typed, rule.min, rule.max))};
  }
  const int value = static_cast<int>(*typed);
  if (rule.step <= 1 || value % rule.step == 0) return {TypedVerdict::kTaken, value};
  // The nearest step, halves upwards, kept within the range.
  int64_t rounded = (int64_t{value} + rule.step / 2) / rule.step * rule.step;
  if (rounded > rule.max) rounded -= rule.step;
  if (rounded < rule.min) rounded += rule.step;
  return {TypedVerdict::kRounded, static_cast<int>(rounded)};
}

}  // namespace vorlin
