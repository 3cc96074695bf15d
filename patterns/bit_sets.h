// The word-sized bit sets of pattern mining, for runs over up to 32 gene
// positions. Union, intersection, equality and the subset test are single
// word operations.
//
// Gene positions are 0..K-1: position j is the run's j-th gene. Items are
// 0..2K-1: item 2j means position j lies at or below its split value, item
// 2j+1 that it lies strictly above it.

#ifndef GENECLUB_PATTERNS_BIT_SETS_H_
#define GENECLUB_PATTERNS_BIT_SETS_H_

#include <bit>
#include <cstdint>

namespace geneclub {

// Items in bits 0..2K-1: a sample's tuple or a pattern.
using ItemSet = std::uint64_t;

// Gene positions in bits 0..K-1: a difference set or a transversal.
using GeneMask = std::uint32_t;

// A sample over the gene positions of a run: bit j set means the sample
// holds item 2j+1 (position j above its split value), clear that it holds
// item 2j.
using SampleTuple = std::uint32_t;

// Most gene positions of a run: the bits of a GeneMask.
inline constexpr int kMaxPositions = 32;
inline constexpr int kMaxItems = 2 * kMaxPositions;

// The mask of positions 0..positions-1.
// REQUIRES: 0 <= positions <= kMaxPositions.
inline GeneMask allPositions(int positions) {
  return positions >= kMaxPositions ? ~GeneMask{0} : (GeneMask{1} << positions) - 1;
}

// True when every member of a is a member of b.
inline bool isSubset(std::uint64_t a, std::uint64_t b) { return (a | b) == b; }

// The first member found testing from 0 upward.
// REQUIRES: set != 0.
inline int lowestMember(std::uint64_t set) { return std::countr_zero(set); }

inline int memberCount(std::uint64_t set) { return std::popcount(set); }

}  // namespace geneclub

#endif  // GENECLUB_PATTERNS_BIT_SETS_H_
