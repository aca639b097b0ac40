#pragma once

// The slot list: the working copy of the interface rows discovery matches interfaces against
// (the product catalogue's rows). Slot i mirrors row i and records whether an interface is bound to it and at which path. A slot is free when it is
// unbound with an empty path; binding and unbinding keep "bound" and "path" together, so a slot
// that is unbound but still has a path does not occur.
//
// Plain data without a lock: the discovery scanner changes it only between its calls to the
// DiscoverySink, and the sink reads and changes it only inside those calls (discovery_scanner.h).

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "hid/device_tables.h"

namespace vorlin {

class SlotList {
 public:
  // One free slot per row, in the rows' order.
  explicit SlotList(std::vector<InterfaceEntry> rows);

  size_t size() const { return slots_.size(); }
  const InterfaceEntry& operator[](size_t slot) const { return slots_[slot]; }

  // Unbound with an empty path. False for an index out of range.
  bool IsFree(size_t slot) const;
  // Whether any slot is free, i.e. whether enumerating the interfaces can bind anything.
  bool HasFreeSlot() const;

  // Whether an enumerated interface path is worth opening for a probe: some free slot has its
  // vendor, product, interface and collection numbers. (The slots are the rows, so this also means
  // that some row has them.)
  bool WantsPath(const PathNumbers& numbers) const;

  // Whether some slot is bound to `path`.
  bool HoldsPath(const std::string& path) const;

  // Binds `path` to the first free slot equal in all six identity numbers (the four numbers of the
  // path plus the interface's top-level usage page and usage): sets bound, stores the path and
  // returns the slot. nullopt when no free slot has these numbers, or when the path is bound
  // already: two rows with the same numbers (a cable and a receiver that report the same ids)
  // never share one interface.
  std::optional<size_t> Bind(const PathNumbers& numbers, uint16_t usagePage, uint16_t usage,
                             const std::string& path);

  // Clears bound and the path. Ignored for an index out of range.
  void Unbind(size_t slot);

  // Indexes of the bound slots, ascending.
  std::vector<size_t> BoundSlots() const;

 private:
  std::vector<InterfaceEntry> slots_;
};

}  // namespace vorlin
