#pragma once

// Small helpers shared by the emulator tests.

#include <cstdint>
#include <cstdio>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "hid/command_report.h"

namespace vorlin::testing {

// "04 01 00 01" -> bytes; a report shorter than 64 bytes is zero-filled to 64.
inline CommandReport Report(const std::string& hex) {
  CommandReport r{};
  std::istringstream in(hex);
  std::string byte;
  size_t i = 0;
  while (in >> byte && i < r.size()) r[i++] = static_cast<uint8_t>(std::stoul(byte, nullptr, 16));
  return r;
}

inline std::vector<uint8_t> Bytes(const std::string& hex) {
  std::vector<uint8_t> out;
  std::istringstream in(hex);
  std::string byte;
  while (in >> byte) out.push_back(static_cast<uint8_t>(std::stoul(byte, nullptr, 16)));
  return out;
}

inline std::string Hex(std::span<const uint8_t> bytes) {
  std::string out;
  char buf[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%02x", bytes[i]);
    if (i) out += ' ';
    out += buf;
  }
  return out;
}

}  // namespace vorlin::testing
