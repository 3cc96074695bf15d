#include "patterns/levelled_stores.h"

#include <algorithm>
#include <bit>

namespace geneclub {
namespace {

// Fibonacci hashing: the top bits of the product with 2^64 / golden ratio.
std::size_t slotOf(ItemSet pattern, std::size_t slotCount) {
  return static_cast<std::size_t>((pattern * 0x9E3779B97F4A7C15ull) >>
                                  (64 - std::countr_zero(slotCount)));
}

void insertIntoSlots(std::vector<ItemSet>& slots, ItemSet pattern) {
  const std::size_t mask = slots.size() - 1;
  std::size_t slot = slotOf(pattern, slots.size());
  while (slots[slot] != 0) slot = (slot + 1) & mask;
  slots[slot] = pattern;
}

}  // namespace

void PatternStore::addIfAbsent(ItemSet pattern) {
  if (2 * (patterns_.size() + 1) > slots_.size()) {
    slots_.assign(std::max<std::size_t>(64, 2 * slots_.size()), 0);
    for (const ItemSet stored : patterns_) insertIntoSlots(slots_, stored);
  }
  const std::size_t mask = slots_.size() - 1;
  std::size_t slot = slotOf(pattern, slots_.size());
  for (; slots_[slot] != 0; slot = (slot + 1) & mask) {
    if (slots_[slot] == pattern) return;
  }
  slots_[slot] = pattern;
  patterns_.push_back(pattern);
}

}  // namespace geneclub
