#pragma once

// Report descriptors for the parser and decoder tests: the recorded fixtures in
// tests/fixtures/hid-descriptors, and short descriptors written inline as hex text.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "hid/report_descriptor.h"

namespace vorlin::testing {

inline std::string DescriptorFixtureDir() {
  return std::string(VORLIN_FIXTURE_DIR) + "/hid-descriptors";
}

// "05 01 09 02" -> {0x05, 0x01, 0x09, 0x02}
inline std::vector<uint8_t> Hex(std::string_view text) {
  std::vector<uint8_t> bytes;
  std::istringstream in{std::string(text)};
  std::string token;
  while (in >> token) bytes.push_back(static_cast<uint8_t>(std::stoul(token, nullptr, 16)));
  return bytes;
}

inline std::vector<uint8_t> LoadDescriptorFixture(const std::string& name) {
  std::ifstream in(DescriptorFixtureDir() + "/" + name);
  EXPECT_TRUE(in.good()) << "missing fixture " << name;
  std::stringstream text;
  text << in.rdbuf();
  return Hex(text.str());
}

inline ParsedDescriptor ParseOrFail(const std::vector<uint8_t>& bytes) {
  ParsedDescriptor parsed;
  std::string error;
  EXPECT_TRUE(ParseReportDescriptor(bytes, parsed, &error)) << error;
  return parsed;
}

}  // namespace vorlin::testing
