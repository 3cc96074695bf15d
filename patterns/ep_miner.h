// Exact mining of the minimal jumping emerging patterns (EPs) of two classes
// over 20 gene positions: item combinations that occur in some tuple of one
// class, in no tuple of the other, and lose that property when any item is
// dropped. For each target tuple the positions in which it differs from each
// tuple of the other class form a family of difference sets; the minimal
// transversals of that family (found by Berge's algorithm), read on the
// tuple, are exactly the minimal EPs the tuple contains.
//
// Patterns are reported per class for the three highest support counts,
// grouped into "equiv case groups" of patterns supported by the same tuples.

#ifndef GENECLUB_PATTERNS_EP_MINER_H_
#define GENECLUB_PATTERNS_EP_MINER_H_

#include <span>
#include <vector>

#include "patterns/bit_sets.h"
#include "patterns/ep_result_files.h"
#include "patterns/levelled_stores.h"

namespace geneclub {

// A sample over the 20 gene positions: bit i set means the sample holds item
// 2i+1 (position i above its split value), clear that it holds item 2i.
using SampleTuple = std::uint32_t;

// The tuple's 20 items as an item set.
ItemSet tupleItems(SampleTuple tuple);

// The positions at which the other tuple holds the same item as the tuple.
GeneMask agreementMask(SampleTuple otherTuple, SampleTuple tuple);

// The pattern made of the tuple's items at the positions of mask.
ItemSet projectMask(GeneMask mask, SampleTuple tuple);

// Returns true when the tuple equals some tuple of the other class (it is
// covered and contains no EP). Otherwise adds to store, in the other class's
// order, the positions in which each other tuple differs, and returns false.
bool collectDifferenceSets(SampleTuple tuple, std::span<const SampleTuple> otherTuples,
                           GeneMaskStore& store);

// For each pattern (in the given order), the number of target tuples that
// contain it.
std::vector<int> countSupports(std::span<const ItemSet> patterns,
                               std::span<const SampleTuple> targetTuples);

// The patterns whose count is k, in their given order.
std::vector<ItemSet> selectBySupport(std::span<const ItemSet> patterns, std::span<const int> counts,
                                     int k);

// Partitions the selected patterns into groups of equal Tidsets (in order of
// each group's first member, members in given order) and writes each group:
// its line, then its members, each with its items ordered by how many members
// of the group hold them (descending, ties by ascending item number).
void writeTidsetGroups(std::span<const ItemSet> selected, std::span<const SampleTuple> targetTuples,
                       EpBlockWriter& writer);

// Mines the minimal EPs of the target class against the other class and
// writes the groups of the highest, second and third highest support count.
// A class without tuples on the other side has no EPs.
void mineClass(std::span<const SampleTuple> targetTuples, std::span<const SampleTuple> otherTuples,
               EpBlockWriter& writer);

}  // namespace geneclub

#endif  // GENECLUB_PATTERNS_EP_MINER_H_
