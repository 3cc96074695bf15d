// Stores of gene masks and of patterns with a fixed, reproducible walking
// order, on which the order of the pattern output rests: by number of
// members, then by lowest member, then by order of insertion ("store
// order"). This is the walk of one bucket per member count and lowest
// member, with each bucket in insertion order.

#ifndef GENECLUB_PATTERNS_LEVELLED_STORES_H_
#define GENECLUB_PATTERNS_LEVELLED_STORES_H_

#include <algorithm>
#include <cstdint>
#include <vector>

#include "patterns/bit_sets.h"

namespace geneclub {

// Returns the sets, given in insertion order, in store order.
template <typename Set>
std::vector<Set> inStoreOrderOf(const std::vector<Set>& sets) {
  // Each set's key (member count, then lowest member) above its index, so
  // that ordering the words orders by key and keeps insertion order on ties.
  std::vector<std::uint64_t> keyed;
  keyed.reserve(sets.size());
  for (std::size_t index = 0; index < sets.size(); ++index) {
    const std::uint64_t key = memberCount(sets[index]) * 64 + lowestMember(sets[index]);
    keyed.push_back(key << 32 | index);
  }
  std::sort(keyed.begin(), keyed.end());
  std::vector<Set> walk;
  walk.reserve(sets.size());
  for (const std::uint64_t entry : keyed) walk.push_back(sets[entry & 0xFFFFFFFF]);
  return walk;
}

// Gene masks, repeats allowed. No mask is empty. The masks are kept in store
// order as they are added; masks that arrive in store order, as the minimal
// difference sets do, are appended at once.
class GeneMaskStore {
 public:
  // Stores the mask without any test; a mask added twice is stored twice.
  // REQUIRES: mask != 0.
  void add(GeneMask mask) {
    const auto keyOf = [](GeneMask m) { return memberCount(m) * 32 + lowestMember(m); };
    const int key = keyOf(mask);
    const auto place = std::find_if(masks_.rbegin(), masks_.rend(),
                                    [&](GeneMask stored) { return keyOf(stored) <= key; });
    masks_.insert(place.base(), mask);
  }

  // True when a stored mask is a subset of mask or equal to it.
  bool containsSubsetOf(GeneMask mask) const {
    return std::any_of(masks_.begin(), masks_.end(),
                       [mask](GeneMask stored) { return isSubset(stored, mask); });
  }

  // Adds the mask unless containsSubsetOf(mask).
  void addIfMinimal(GeneMask mask) {
    if (!containsSubsetOf(mask)) add(mask);
  }

  // Removes every mask; the store keeps its memory for reuse.
  void clear() { masks_.clear(); }

  // The masks in store order.
  const std::vector<GeneMask>& inStoreOrder() const { return masks_; }

 private:
  std::vector<GeneMask> masks_;
};

// Patterns without repeats. No pattern is empty. Patterns are kept in
// insertion order and put in store order when walked.
class PatternStore {
 public:
  // Adds the pattern unless an equal one is stored; the first insertion fixes
  // its place in the store order.
  // REQUIRES: pattern != 0.
  void addIfAbsent(ItemSet pattern);

  int size() const { return static_cast<int>(patterns_.size()); }

  std::vector<ItemSet> inStoreOrder() const { return inStoreOrderOf(patterns_); }

 private:
  std::vector<ItemSet> patterns_;
  // Open-addressing hash set of the stored patterns; 0 marks a free slot.
  // Its size is a power of two, kept at least twice the number of patterns.
  std::vector<ItemSet> slots_;
};

}  // namespace geneclub

#endif  // GENECLUB_PATTERNS_LEVELLED_STORES_H_
