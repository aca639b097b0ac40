#pragma once

// Interface paths name one top-level collection of one HID interface, whatever backend it lives
// on, and carry the identity tags the discovery code reads:
//
//   <scheme>:<node>?vid_320f&pid_225e&mi_01&col04
//
// "&mi_" is left out when the node is not a USB interface and "&col" when the interface has a
// single top-level collection, so such numbers read as 0, as they would on Windows.

#include <cstdint>
#include <string>
#include <string_view>

namespace vorlin {

struct InterfacePathParts {
  std::string scheme;
  std::string node;
};

std::string MakeInterfacePath(std::string_view scheme, std::string_view node, uint16_t vendorId,
                              uint16_t productId, int interfaceNumber, int collectionNumber);

// Splits "scheme:node?tags" into scheme and node; false when the path has no scheme.
bool SplitInterfacePath(std::string_view path, InterfacePathParts& parts);

// The hexadecimal number right after the first occurrence of `tag` (searched without case), or 0
// when the tag is absent or no hexadecimal digit follows. Saturates instead of overflowing.
uint32_t ParseHexTag(std::string_view path, std::string_view tag);

}  // namespace vorlin
