#pragma once

// Reading the key-assignment panel's controls back into a function code.

#include <optional>

#include "input/function_code.h"
#include "input/key_set_fields.h"

namespace vorlin {

inline constexpr int kMinFireInterval = 10;
inline constexpr int kMaxFireInterval = 255;

struct EncodedAssignment {
  enum class Source {
    kEncoded,  // `code` is the new current code
    kDefault,  // the current assignment becomes the default one (all six bytes)
    kKept,     // the controls describe no code; the current assignment stays
  };
  Source source = Source::kKept;
  FunctionCode code;  // the resulting current code, whatever the source
  // The value the fire-interval edit shows from now on, when encoding had to bring it into range.
  std::optional<int> fire_interval_shown;
};

// `kind_tag` is the tag of the selected function item (anything outside 1-11 means the default).
// `stored_current` is the panel's stored current code (the last one shown or captured), whose
// usage byte the keyboard-key kind keeps; `default_code` the key's factory code; `macro_count`
// the number of macros listed.
EncodedAssignment EncodeAssignment(int kind_tag, const KeySetFields& fields,
                                   FunctionCode stored_current, FunctionCode default_code,
                                   int macro_count);

}  // namespace vorlin
