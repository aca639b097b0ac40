#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vorlin {

// A colour as the lighting computes it, before any level is applied.
struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

// One frame entry: byte 0 red, byte 1 green, byte 2 blue, byte 3 level. Whoever shows or sends an
// entry scales each channel by its level (ScaleByLevel).
constexpr uint32_t MakeFrameEntry(Rgb color, uint8_t level) {
  return uint32_t{color.red} | (uint32_t{color.green} << 8) | (uint32_t{color.blue} << 16) |
         (uint32_t{level} << 24);
}
constexpr Rgb FrameEntryColor(uint32_t entry) {
  return {static_cast<uint8_t>(entry), static_cast<uint8_t>(entry >> 8),
          static_cast<uint8_t>(entry >> 16)};
}
constexpr uint8_t FrameEntryLevel(uint32_t entry) {
  return static_cast<uint8_t>(entry >> 24);
}
constexpr uint8_t ScaleByLevel(uint8_t channel, uint8_t level) {
  return static_cast<uint8_t>((unsigned{channel} * level) >> 8);
}

// A view of a frame's entries for the effect steps. The lighting worker (or the sync thread)
// writes through it while the UI thread's frame timer reads the same words, so every access is a
// relaxed atomic one: a painted frame may mix two steps, but no entry is ever torn. The view does
// not own the words; KeyColorFrame does.
class FrameView {
 public:
  FrameView() = default;
  explicit FrameView(std::span<uint32_t> words) : words_(words) {}

  size_t size() const { return words_.size(); }
  bool empty() const { return words_.empty(); }

  // An index outside the frame reads as 0 and is not written.
  uint32_t Get(size_t index) const {
    if (index >= words_.size()) return 0;
    return std::atomic_ref<uint32_t>(words_[index]).load(std::memory_order_relaxed);
  }
  void Set(size_t index, uint32_t entry) const {
    if (index >= words_.size()) return;
    std::atomic_ref<uint32_t>(words_[index]).store(entry, std::memory_order_relaxed);
  }
  void Fill(uint32_t entry) const {
    for (uint32_t& word : words_) {
      std::atomic_ref<uint32_t>(word).store(entry, std::memory_order_relaxed);
    }
  }

 private:
  std::span<uint32_t> words_;
};

// The per-key colour frame of a device object: one entry per key (or LED).
//
// Resize (and copying) must not race with a running worker: the owner changes the size only while
// its worker is stopped. Everything else goes through view(), whose accesses are atomic.
class KeyColorFrame {
 public:
  KeyColorFrame() = default;
  explicit KeyColorFrame(size_t size) : words_(size, 0) {}

  size_t size() const { return words_.size(); }

  // Setting the size (even to the current one) clears every entry.
  void Resize(size_t size) { words_.assign(size, 0); }

  FrameView view() { return FrameView(words_); }

  // SetKeyColor / GetKeyColor of the device objects: an index outside the frame is ignored on
  // write and reads as 0.
  void SetKeyColor(size_t index, uint32_t entry) { view().Set(index, entry); }
  uint32_t GetKeyColor(size_t index) const { return FrameView(words_).Get(index); }

  // A copy of the entries, read atomically one by one (for painting and for tests).
  std::vector<uint32_t> Snapshot() const;

 private:
  // Mutable because an atomic read goes through std::atomic_ref, which wants a non-const object;
  // a const frame is still only read.
  mutable std::vector<uint32_t> words_;
};

}  // namespace vorlin
