#pragma once

// Readable function codes in test failures: "20 02 04".

#include <cstdio>
#include <ostream>
#include <string>

#include "input/function_code.h"

namespace vorlin {

inline std::string CodeText(FunctionCode code) {
  char text[16];
  std::snprintf(text, sizeof text, "%02X %02X %02X", code.type, code.second, code.third);
  return text;
}

inline void PrintTo(const FunctionCode& code, std::ostream* out) {
  *out << CodeText(code);
}

}  // namespace vorlin
