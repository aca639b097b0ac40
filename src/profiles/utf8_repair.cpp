#include "profiles/utf8_repair.h"

#include <cstdint>

namespace vorlin {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";

// The length of the sequence `lead` starts and the range its second byte must fall in (the
// further bytes are always 0x80-0xBF). The narrow ranges rule out overlong forms, surrogates and
// code points beyond U+10FFFF. Length 0: the byte never starts a sequence.
struct LeadRule {
  int length;
  uint8_t second_low, second_high;
};

LeadRule RuleFor(uint8_t lead) {
  if (lead < 0x80) return {1, 0, 0};
  if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
  if (lead == 0xE0) return {3, 0xA0, 0xBF};
  if (lead == 0xED) return {3, 0x80, 0x9F};
  if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF};
  if (lead == 0xF0) return {4, 0x90, 0xBF};
  if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
  if (lead == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

}  // namespace

std::string RepairUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const LeadRule rule = RuleFor(static_cast<uint8_t>(text[i]));
    if (rule.length == 1) {
      out += text[i++];
      continue;
    }
    // Take the lead and every continuation byte that fits; the bytes taken are either a whole
    // sequence or one ill-formed part that becomes a single U+FFFD.
    size_t taken = 1;
    while (rule.length > 0 && taken < static_cast<size_t>(rule.length) && i + taken < text.size()) {
      const auto byte = static_cast<uint8_t>(text[i + taken]);
      const uint8_t low = taken == 1 ? rule.second_low : 0x80;
      const uint8_t high = taken == 1 ? rule.second_high : 0xBF;
      if (byte < low || byte > high) break;
      ++taken;
    }
    if (rule.length > 0 && taken == static_cast<size_t>(rule.length))
      out.append(text.substr(i, taken));
    else
      out += kReplacement;
    i += taken;
  }
  return out;
}

}  // namespace vorlin
