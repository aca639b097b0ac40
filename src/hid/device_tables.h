#pragma once

// The built-in table of the interfaces the program works with: which vendor/product/interface/
// collection, with which top-level usage, is the command or event interface of which device kind.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vorlin {

// Device kinds.
enum DeviceKind : uint16_t {
  kKindKeyboard = 1,
  kKindMouse = 2,
  kKindMousePad = 3,
  kKindMouseReceiver = 6,
  kKindHeadset = 7,
  kKindKeyboardReceiver = 9,
};

// Interface roles.
inline constexpr uint16_t kRoleCommand = 0;
inline constexpr uint16_t kRoleEvent = 255;

struct InterfaceEntry {
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  uint16_t interfaceNumber = 0;
  uint16_t collectionNumber = 0;
  uint16_t kind = 0;
  uint16_t role = 0;
  uint16_t bound = 0;
  uint16_t usagePage = 0;
  uint16_t usage = 0;
  uint16_t hasPartner = 0;
  uint16_t partner = 0;
  std::string path;
};

// Same device key: every identity field but bound, the partner fields and the path.
bool SameDeviceKey(const InterfaceEntry& a, const InterfaceEntry& b);

inline constexpr size_t kInterfaceTableSize = 11;
const std::array<InterfaceEntry, kInterfaceTableSize>& InterfaceTable();

// The four numbers an interface path carries (the low 16 bits of each tag's value).
struct PathNumbers {
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  uint16_t interfaceNumber = 0;
  uint16_t collectionNumber = 0;
};
PathNumbers ParsePathNumbers(const std::string& path);

// The first table row with these path numbers and this top-level usage, if any.
std::optional<size_t> FindInterfaceRow(const PathNumbers& numbers, uint16_t usagePage,
                                       uint16_t usage);

}  // namespace vorlin
