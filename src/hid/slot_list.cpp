#include "hid/slot_list.h"

namespace vorlin {

namespace {

bool SameNumbers(const InterfaceEntry& e, const PathNumbers& n) {
  return e.vendorId == n.vendorId && e.productId == n.productId &&
         e.interfaceNumber == n.interfaceNumber && e.collectionNumber == n.collectionNumber;
}

bool Free(const InterfaceEntry& e) {
  return e.bound == 0 && e.path.empty();
}

}  // namespace

SlotList::SlotList(std::vector<InterfaceEntry> rows) : slots_(std::move(rows)) {
  for (InterfaceEntry& slot : slots_) {
    slot.bound = 0;
    slot.path.clear();
  }
}

bool SlotList::IsFree(size_t slot) const {
  return slot < slots_.size() && Free(slots_[slot]);
}

bool SlotList::HasFreeSlot() const {
  for (const InterfaceEntry& e : slots_)
    if (Free(e)) return true;
  return false;
}

bool SlotList::WantsPath(const PathNumbers& numbers) const {
  for (const InterfaceEntry& e : slots_)
    if (Free(e) && SameNumbers(e, numbers)) return true;
  return false;
}

bool SlotList::HoldsPath(const std::string& path) const {
  for (const InterfaceEntry& e : slots_) {
    if (e.bound && e.path == path) return true;
  }
  return false;
}

std::optional<size_t> SlotList::Bind(const PathNumbers& numbers, uint16_t usagePage, uint16_t usage,
                                     const std::string& path) {
  if (HoldsPath(path)) return std::nullopt;
  for (size_t i = 0; i < slots_.size(); ++i) {
    InterfaceEntry& e = slots_[i];
    if (!Free(e) || !SameNumbers(e, numbers) || e.usagePage != usagePage || e.usage != usage)
      continue;
    e.bound = 1;
    e.path = path;
    return i;
  }
  return std::nullopt;
}

void SlotList::Unbind(size_t slot) {
  if (slot >= slots_.size()) return;
  slots_[slot].bound = 0;
  slots_[slot].path.clear();
}

std::vector<size_t> SlotList::BoundSlots() const {
  std::vector<size_t> bound;
  for (size_t i = 0; i < slots_.size(); ++i)
    if (slots_[i].bound) bound.push_back(i);
  return bound;
}

}  // namespace vorlin
