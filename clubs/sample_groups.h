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
#include <vector>

#include "data/dimensions.h"
#include "data/gene_club_analyzer.h"
#include "ranking/class_entropy.h"

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

  // The groups holding samples of both classes. Groups of one class add
  // exactly +0.0 to a sum, so scoring only these gives the same sums.
  SampleGroupList mixedGroups(const SampleGroupList& groups) const;

  // The sum for refineSampleGroups(groups, rowBits), without building it.
  double ofRefinement(const SampleGroupList& groups, GeneProfile rowBits) const {
    double sum = 0.0;
    for (const SampleGroup group : groups) {
      if (group.size() < 2) continue;
      // A part of fewer than two samples has a zero term, and adding +0.0 to
      // the non-negative sum leaves it unchanged.
      sum = sum + term(group.samples & ~rowBits);
      sum = sum + term(group.samples & rowBits);
    }
    return sum;
  }

 private:
  // Tabulates combine(size * classEntropy) for every group of two or more.
  template <typename Combine>
  PartitionEntropy(std::uint64_t diseaseSamples, Combine combine)
      : diseaseSamples_(diseaseSamples) {
    for (int zeros = 0; zeros <= kSampleCount; ++zeros) {
      for (int others = 0; zeros + others <= kSampleCount; ++others) {
        if (zeros + others < 2) continue;
        const double size = zeros + others;
        terms_[zeros][others] = combine(size * classEntropyOfCounts(zeros, others));
      }
    }
  }

  double term(std::uint64_t samples) const {
    return terms_[std::popcount(samples & ~diseaseSamples_)]
                 [std::popcount(samples & diseaseSamples_)];
  }

  std::uint64_t diseaseSamples_;
  // terms_[z][q]: the term of a group of z samples of label 0 and q of label 1.
  std::array<std::array<double, kSampleCount + 1>, kSampleCount + 1> terms_{};
};

}  // namespace geneclub

#endif  // GENECLUB_CLUBS_SAMPLE_GROUPS_H_
