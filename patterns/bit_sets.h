// The fixed-size bit sets of pattern mining. Each fits in a machine word (but
// GeneSet), so union, intersection, equality and the subset test are single
// word operations.
//
// Gene positions are 0..19: position j is the run's j-th gene (geneIndexList
// entry j). Items are 0..39: item 2j means position j lies at or below its
// split value, item 2j+1 that it lies strictly above it.

#ifndef GENECLUB_PATTERNS_BIT_SETS_H_
#define GENECLUB_PATTERNS_BIT_SETS_H_

#include <bit>
#include <bitset>
#include <cstdint>

#include "data/dimensions.h"

namespace geneclub {

// Items 0..39 in bits 0..39: a sample's tuple or a pattern.
using ItemSet = std::uint64_t;

// Gene positions 0..19 in bits 0..19: a difference set or a transversal.
using GeneMask = std::uint32_t;

// Tuple ids of one class, bit l for the class's l-th tuple. A class holds at
// most the 62 samples of a run.
using Tidset = std::uint64_t;

// Matrix rows 0..1999: the genes of a pattern.
using GeneSet = std::bitset<kGeneCount>;

inline constexpr int kItemCount = 2 * kTopGeneCount;
inline constexpr GeneMask kAllPositions = (GeneMask{1} << kTopGeneCount) - 1;

// True when every member of a is a member of b.
inline bool isSubset(std::uint64_t a, std::uint64_t b) { return (a | b) == b; }

// The first member found testing from 0 upward.
// REQUIRES: set != 0.
inline int lowestMember(std::uint64_t set) { return std::countr_zero(set); }

inline int memberCount(std::uint64_t set) { return std::popcount(set); }

}  // namespace geneclub

#endif  // GENECLUB_PATTERNS_BIT_SETS_H_
