#pragma once

#include <string>
#include <string_view>

namespace vorlin {

// `text` with every byte sequence that is not well-formed UTF-8 replaced by U+FFFD, one per
// maximal ill-formed subpart as the Unicode standard recommends (so a lead byte without its
// continuation bytes costs only itself, and the ASCII after it stays). Well-formed text is
// returned unchanged.
std::string RepairUtf8(std::string_view text);

}  // namespace vorlin
