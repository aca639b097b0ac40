#pragma once

// The device option rows (what the selector strip shows for each supported product) and the
// parallel device page rows (how each product's page is built), plus the rules that lead from an
// interface slot to the row and key of the device it belongs to.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include <QString>

#include "hid/device_tables.h"

namespace vorlin {

class SlotList;

struct DeviceOptionEntry {
  QString optionLayout;
  QString tabGroup;
  QString powerContainer;
  QString dataName;
  int lightIndex = 0;
  uint32_t vendorId = 0;
  uint32_t productId = 0;
  uint32_t kind = 0;
  int variant = 0;
};

struct DevicePageEntry {
  int keyCount = 0;
  int lightCount = 0;
  int statusPanel = 0;
  int mouseValue = -1;
  QString pageLayout;
  QString lightConfigName;
};

inline constexpr size_t kDeviceRowCount = 4;
const std::array<DeviceOptionEntry, kDeviceRowCount>& DeviceOptionTable();
const std::array<DevicePageEntry, kDeviceRowCount>& DevicePageTable();

// The page families: one list of device objects per family.
enum class DeviceFamily { kMouse, kKeyboard, kMousePad, kHeadset, kNone };
DeviceFamily FamilyOfKind(uint32_t kind);
bool IsReceiverKind(uint32_t kind);
// The cable kind of a kind (6 -> 2, 9 -> 1; others unchanged).
uint32_t CableKind(uint32_t kind);

// The option row of a product: same vendor, product and cable kind, variant 0.
std::optional<size_t> FindOptionRow(uint32_t vendorId, uint32_t productId, uint32_t kind);

// The interface table's command row (role 0) of the same vendor, product and kind as `entry`.
std::optional<size_t> CommandRowOf(const InterfaceEntry& entry);

// The key a device object carries for the interface in `slot`: always its cable command row, so
// that the cable and the receiver of one product lead to the same page. For a receiver slot with a
// partner this is the partner's (cable) row; for an event slot first its command row. nullopt when
// the slot is out of range or no command row exists.
std::optional<InterfaceEntry> PageKeyOfSlot(const SlotList& slotList, size_t slot);

// Whether the other connection of `slot`'s product (cable <-> receiver) is bound and names `slot`
// as its partner: then the product is already reachable the other way.
bool PartnerBound(const SlotList& slotList, size_t slot);

// The stem of a device option's images and name key for a kind and variant; empty when the kind
// and variant change nothing (a mouse pad of an unknown variant).
QString DeviceIconStem(uint32_t kind, int variant);

}  // namespace vorlin
