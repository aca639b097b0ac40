#pragma once

// The identity of an interface the program works with (InterfaceEntry): which vendor/product/
// interface/collection, with which top-level usage, is the command or event interface of which
// device kind. The rows themselves come from the product catalogue (catalogue/product_catalogue.h).

#include <array>
#include <cstdint>
#include <optional>
#include <span>
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

// Kinds reached through a wireless receiver (6, 9).
bool IsReceiverKind(uint32_t kind);
// The cable kind of a kind (6 -> 2, 9 -> 1; others unchanged).
uint32_t CableKind(uint32_t kind);

// The four numbers an interface path carries (the low 16 bits of each tag's value).
struct PathNumbers {
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  uint16_t interfaceNumber = 0;
  uint16_t collectionNumber = 0;
};
PathNumbers ParsePathNumbers(const std::string& path);

// The first of `rows` with these path numbers and this top-level usage, if any.
std::optional<size_t> FindInterfaceRow(std::span<const InterfaceEntry> rows,
                                       const PathNumbers& numbers, uint16_t usagePage,
                                       uint16_t usage);

}  // namespace vorlin
