// Exact mining of the minimal jumping emerging patterns (EPs) of two classes
// over up to 32 gene positions: item combinations that occur in some tuple of
// one class, in no tuple of the other, and lose that property when any item
// is dropped. For each target tuple the positions in which it differs from
// each tuple of the other class form a family of difference sets; the
// minimal transversals of that family (found by Berge's algorithm), read on
// the tuple, are exactly the minimal EPs the tuple contains.
//
// Mining is a pure function of its inputs, so runs may go on in parallel.

#ifndef GENECLUB_PATTERNS_EP_MINER_H_
#define GENECLUB_PATTERNS_EP_MINER_H_

#include <cstdint>
#include <span>
#include <vector>

#include "patterns/bit_sets.h"

namespace geneclub {

// The minimal EPs of one class, in store order: by number of items, then by
// lowest item, then by order of discovery (tuple by tuple, each tuple's
// transversals in their store order).
struct ClassPatterns {
  int tupleCount = 0;
  // The sample (index into the run's samples) of each tuple id, ascending.
  std::vector<int> samples;
  std::vector<ItemSet> patterns;
  // Per pattern: the number of the class's tuples that contain it.
  std::vector<int> supports;
  // Per pattern, tidsetWords words: bit l set when tuple l contains it.
  int tidsetWords = 0;
  std::vector<std::uint64_t> tidsets;

  int patternCount() const { return static_cast<int>(patterns.size()); }
  std::span<const std::uint64_t> tidset(int pattern) const {
    return std::span(tidsets).subspan(static_cast<std::size_t>(pattern) * tidsetWords, tidsetWords);
  }
  // The largest support, or 0 without patterns.
  int maxSupport() const;
  // The samples (of the run) whose tuples contain the pattern, ascending.
  std::vector<int> supportingSamples(int pattern) const;
};

// Both classes of one mining run. Disease is the class of label 1.
struct MiningResult {
  int positions = 0;
  ClassPatterns disease;
  ClassPatterns normal;
};

// The tuple's items over `positions` positions.
ItemSet tupleItems(SampleTuple tuple, int positions);

// The positions (of `positions`) at which the other tuple holds the same item
// as the tuple.
GeneMask agreementMask(SampleTuple otherTuple, SampleTuple tuple, int positions);

// The pattern made of the tuple's items at the positions of mask.
ItemSet projectMask(GeneMask mask, SampleTuple tuple);

// Returns true when the tuple equals some tuple of the other class (it is
// covered and contains no EP). Otherwise appends to differences, in the
// other class's order, the positions in which each other tuple differs, and
// returns false.
bool collectDifferenceSets(SampleTuple tuple, std::span<const SampleTuple> otherTuples,
                           int positions, std::vector<GeneMask>& differences);

// Mines the minimal EPs of the target class against the other class. A class
// without tuples on the other side has no EPs.
// REQUIRES: 1 <= positions <= kMaxPositions; tuples hold no bit at or above
// positions.
ClassPatterns mineClass(std::span<const SampleTuple> targetTuples,
                        std::span<const SampleTuple> otherTuples, int positions);

// Mines both classes of a run: sample s, over the first `positions` bits of
// samples[s], belongs to the Disease class when labels[s] is 1, else to the
// Normal class.
// REQUIRES: samples and labels have one entry per sample.
MiningResult mineMinimalEps(std::span<const std::uint32_t> samples, std::span<const int> labels,
                            int positions);

}  // namespace geneclub

#endif  // GENECLUB_PATTERNS_EP_MINER_H_
