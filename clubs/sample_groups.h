// Sample groups: the samples that agree on the discretised bit of every gene
// examined so far. A gene club grows by choosing the candidate gene whose
// bits split the current groups into the purest parts, measured as the
// information gain of the refined partition.
//
// A group is a 64-bit mask of samples (bit s = sample s), so splitting it by
// a gene is two ANDs and its class counts are two popcounts. Its members
// stand in sample order, and the order of the groups in a list fixes the
// order in which their entropy terms are added.

#ifndef GENECLUB_CLUBS_SAMPLE_GROUPS_H_
#define GENECLUB_CLUBS_SAMPLE_GROUPS_H_

#include <array>
#include <bit>
#include <cstdint>
#include <span>
#include <vector>

#include "data/dimensions.h"
#include "data/gene_club_analyzer.h"

namespace geneclub {

struct SampleGroup {
  std::uint64_t samples = 0;

  int size() const { return std::popcount(samples); }
};

using SampleGroupList = std::vector<SampleGroup>;

// The group's samples at or below the row's split (low) and above it (high),
// low first, each only when not empty: two groups when the row separates the
// group's samples, else the group itself. rowBits is the row's profile.
SampleGroupList splitSampleGroup(SampleGroup group, GeneProfile rowBits);

// Splits every group of two or more samples by the row, in order; groups of
// fewer samples are not carried into the result.
SampleGroupList refineSampleGroups(const SampleGroupList& groups, GeneProfile rowBits);

// The entropy left within a partition: the sum, over its groups of two or
// more samples in order, of (size * classEntropy(group labels)) combined with
// a fixed factor, the product formed first. Each term is tabulated by the
// group's class counts, so every sum is the very double the direct
// computation gives.
class PartitionEntropy {
 public:
  // Terms (size * entropy) * weight.
  static PartitionEntropy weighted(std::uint64_t diseaseSamples, double weight);
  // Terms (size * entropy) / divisor.
  static PartitionEntropy divided(std::uint64_t diseaseSamples, int divisor);

  // A group holding samples of both classes, split by class for scoring.
  struct MixedGroup {
    std::uint64_t normalSamples;
    std::uint64_t diseaseSamples;
    int normalCount;
    int diseaseCount;
  };

  // The groups of both classes, in order. A group of one class splits into
  // parts of one class, whose terms are exactly +0.0, and adding +0.0 to the
  // non-negative sum leaves it unchanged: scoring only the mixed groups gives
  // the same sums.
  std::vector<MixedGroup> mixedGroups(const SampleGroupList& groups) const;

  // The sum for refineSampleGroups(groups, rowBits), without building it:
  // each group's part at or below the split, then its part above. A part of
  // fewer than two samples has a zero term, which leaves the sum unchanged.
  double ofRefinement(std::span<const MixedGroup> groups, GeneProfile rowBits) const {
    double sum = 0.0;
    for (const MixedGroup& group : groups) {
      const int normalAbove = std::popcount(group.normalSamples & rowBits);
      const int diseaseAbove = std::popcount(group.diseaseSamples & rowBits);
      sum = sum + terms_[group.normalCount - normalAbove][group.diseaseCount - diseaseAbove];
      sum = sum + terms_[normalAbove][diseaseAbove];
    }
    return sum;
  }

 private:
  using TermTable = std::array<std::array<double, kSampleCount + 1>, kSampleCount + 1>;

  // The products size * classEntropy of every group of two or more samples,
  // by class counts; computed once.
  static const TermTable& entropyProducts();

  // Tabulates combine(size * classEntropy) for every group of two or more.
  template <typename Combine>
  PartitionEntropy(std::uint64_t diseaseSamples, Combine combine)
      : diseaseSamples_(diseaseSamples) {
    const TermTable& products = entropyProducts();
    for (int zeros = 0; zeros <= kSampleCount; ++zeros) {
      for (int others = 0; zeros + others <= kSampleCount; ++others) {
        if (zeros + others >= 2) terms_[zeros][others] = combine(products[zeros][others]);
      }
    }
  }

  std::uint64_t diseaseSamples_;
  // terms_[z][q]: the term of a group of z samples of label 0 and q of label 1.
  TermTable terms_{};
};

}  // namespace geneclub

#endif  // GENECLUB_CLUBS_SAMPLE_GROUPS_H_
