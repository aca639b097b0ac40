#include "hid/interface_path.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace vorlin {

std::string MakeInterfacePath(std::string_view scheme, std::string_view node, uint16_t vendorId,
                              uint16_t productId, int interfaceNumber, int collectionNumber) {
  std::string path;
  path.reserve(scheme.size() + node.size() + 32);
  path.append(scheme).append(":").append(node);
  char tags[64];
  std::snprintf(tags, sizeof tags, "?vid_%04x&pid_%04x", vendorId, productId);
  path += tags;
  if (interfaceNumber >= 0) {
    std::snprintf(tags, sizeof tags, "&mi_%02x", interfaceNumber);
    path += tags;
  }
  if (collectionNumber > 0) {
    std::snprintf(tags, sizeof tags, "&col%02x", collectionNumber);
    path += tags;
  }
  return path;
}

bool SplitInterfacePath(std::string_view path, InterfacePathParts& parts) {
  const auto colon = path.find(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  const auto query = path.find('?', colon + 1);
  parts.scheme = std::string(path.substr(0, colon));
  parts.node = std::string(path.substr(colon + 1, query == std::string_view::npos
                                                       ? std::string_view::npos
                                                       : query - colon - 1));
  return !parts.node.empty();
}

uint32_t ParseHexTag(std::string_view path, std::string_view tag) {
  if (tag.empty() || path.size() < tag.size()) return 0;
  const auto lower = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
  auto it = std::search(path.begin(), path.end(), tag.begin(), tag.end(),
                        [&](char a, char b) { return lower(a) == lower(b); });
  if (it == path.end()) return 0;
  uint64_t value = 0;
  for (auto p = it + static_cast<std::ptrdiff_t>(tag.size()); p != path.end(); ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (!std::isxdigit(c)) break;
    const int digit = std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10;
    value = std::min<uint64_t>(value * 16 + static_cast<uint64_t>(digit), 0xFFFFFFFFu);
  }
  return static_cast<uint32_t>(value);
}

}  // namespace vorlin
