// Stores of gene masks and of patterns with a fixed, reproducible walking
// order, on which the order of the pattern output rests: by number of
// members, then by lowest member, then by order of insertion ("store
// order"). Members are kept in insertion order and put in store order when
// walked, which gives the same walk as keeping one bucket per level and
// lowest member.

#ifndef GENECLUB_PATTERNS_LEVELLED_STORES_H_
#define GENECLUB_PATTERNS_LEVELLED_STORES_H_

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "patterns/bit_sets.h"

namespace geneclub {

// True when a stands before b in store order by member count and lowest
// member; sets equal in both keep their insertion order.
template <typename Set>
bool precedesInStoreOrder(Set a, Set b) {
  const int countA = memberCount(a), countB = memberCount(b);
  return countA != countB ? countA < countB : lowestMember(a) < lowestMember(b);
}

// Sorts sets from insertion order into store order.
template <typename Set>
void sortIntoStoreOrder(std::vector<Set>& sets) {
  std::stable_sort(sets.begin(), sets.end(), precedesInStoreOrder<Set>);
}

// Gene masks, repeats allowed. No mask is empty.
class GeneMaskStore {
 public:
  // Stores the mask without any test; a mask added twice is stored twice.
  // REQUIRES: mask != 0.
  void add(GeneMask mask) { masks_.push_back(mask); }

  // True when a stored mask is a subset of mask or equal to it.
  bool containsSubsetOf(GeneMask mask) const {
    return std::any_of(masks_.begin(), masks_.end(),
                       [mask](GeneMask stored) { return isSubset(stored, mask); });
  }

  // Adds the mask unless containsSubsetOf(mask).
  void addIfMinimal(GeneMask mask) {
    if (!containsSubsetOf(mask)) add(mask);
  }

  std::vector<GeneMask> inStoreOrder() const {
    std::vector<GeneMask> walk = masks_;
    sortIntoStoreOrder(walk);
    return walk;
  }

 private:
  std::vector<GeneMask> masks_;
};

// Patterns without repeats. No pattern is empty.
class PatternStore {
 public:
  // Adds the pattern unless an equal one is stored; the first insertion fixes
  // its place in the store order.
  // REQUIRES: pattern != 0.
  void addIfAbsent(ItemSet pattern) {
    if (seen_.insert(pattern).second) patterns_.push_back(pattern);
  }

  int size() const { return static_cast<int>(patterns_.size()); }

  std::vector<ItemSet> inStoreOrder() const {
    std::vector<ItemSet> walk = patterns_;
    sortIntoStoreOrder(walk);
    return walk;
  }

 private:
  std::vector<ItemSet> patterns_;
  std::unordered_set<ItemSet> seen_;
};

}  // namespace geneclub

#endif  // GENECLUB_PATTERNS_LEVELLED_STORES_H_
