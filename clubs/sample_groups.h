// Sample groups: the samples that agree on the discretised bit of every gene
// examined so far. A gene club grows by choosing the candidate gene whose
// bits split the current groups into the purest parts, measured as the
// information gain of the refined partition.
//
// A group is a sample set, so splitting it by a gene is a word-wise AND and
// its class counts are popcounts. The order of the groups in a list fixes
// the order in which their entropy terms are added.

#ifndef GENECLUB_CLUBS_SAMPLE_GROUPS_H_
#define GENECLUB_CLUBS_SAMPLE_GROUPS_H_

#include <cstdint>
#include <span>
#include <vector>

#include "data/sample_set.h"

namespace geneclub {

using SampleGroup = SampleSet;
using SampleGroupList = std::vector<SampleGroup>;

// The group's samples at or below the row's split (low) and above it (high),
// low first, each only when not empty: two groups when the row separates the
// group's samples, else the group itself. rowBits is the row's bits.
SampleGroupList splitSampleGroup(const SampleGroup& group, std::span<const std::uint64_t> rowBits);

// Splits every group of two or more samples by the row, in order; groups of
// fewer samples are not carried into the result.
SampleGroupList refineSampleGroups(const SampleGroupList& groups,
                                   std::span<const std::uint64_t> rowBits);

// The products size * classEntropy of every group of two or more samples,
// by its class counts: tabulated for data sets of moderate size, computed on
// each request for larger ones (the very same double either way).
class EntropyProducts {
 public:
  EntropyProducts(int normalSamples, int diseaseSamples);

  // REQUIRES: normals <= normalSamples, diseases <= diseaseSamples.
  double operator()(int normals, int diseases) const {
    if (table_.empty()) return product(normals, diseases);
    return table_[static_cast<std::size_t>(normals) * (diseaseSamples_ + 1) + diseases];
  }

 private:
  static double product(int normals, int diseases);

  int diseaseSamples_;
  std::vector<double> table_;
};

// The entropy left within a partition: the sum, over its groups of two or
// more samples in order, of (size * classEntropy(group labels)) combined with
// a fixed factor, the product formed first.
class PartitionEntropy {
 public:
  // Terms (size * entropy) * weight.
  static PartitionEntropy weighted(const EntropyProducts& products, const SampleSet& diseaseSamples,
                                   double weight);
  // Terms (size * entropy) / divisor.
  static PartitionEntropy divided(const EntropyProducts& products, const SampleSet& diseaseSamples,
                                  int divisor);

  // The groups of a partition that hold samples of both classes, ready for
  // scoring: each group's words that hold any of its samples.
  struct MixedGroups {
    struct Word {
      int index;
      std::uint64_t normals;
      std::uint64_t diseases;
    };
    std::vector<Word> words;
    std::vector<int> wordsEnd;  // per group: one past its last word
    std::vector<int> normalCount;
    std::vector<int> diseaseCount;
  };

  // A group of one class splits into parts of one class, whose terms are
  // exactly +0.0, and adding +0.0 to the non-negative sum leaves it
  // unchanged: scoring only the mixed groups gives the same sums.
  MixedGroups mixedGroups(const SampleGroupList& groups) const;

  // The term of a group of the given class counts; 0.0 below two samples.
  double term(int normals, int diseases) const {
    if (normals + diseases < 2) return 0.0;
    const double product = products_(normals, diseases);
    return divided_ ? product / divisor_ : product * weight_;
  }

  // The sum for refineSampleGroups(groups, rowBits), without building it:
  // each group's part at or below the split, then its part above. A part of
  // fewer than two samples has a zero term, which leaves the sum unchanged.
  double ofRefinement(const MixedGroups& groups, std::span<const std::uint64_t> rowBits) const {
    double sum = 0.0;
    int word = 0;
    for (std::size_t g = 0; g < groups.wordsEnd.size(); ++g) {
      int normalsAbove = 0, diseasesAbove = 0;
      for (; word < groups.wordsEnd[g]; ++word) {
        const MixedGroups::Word& w = groups.words[word];
        const std::uint64_t bits = rowBits[w.index];
        normalsAbove += std::popcount(w.normals & bits);
        diseasesAbove += std::popcount(w.diseases & bits);
      }
      sum =
          sum + term(groups.normalCount[g] - normalsAbove, groups.diseaseCount[g] - diseasesAbove);
      sum = sum + term(normalsAbove, diseasesAbove);
    }
    return sum;
  }

 private:
  PartitionEntropy(const EntropyProducts& products, const SampleSet& diseaseSamples, bool divided,
                   double weight, int divisor)
      : products_(products),
        diseaseSamples_(diseaseSamples),
        divided_(divided),
        weight_(weight),
        divisor_(divisor) {}

  const EntropyProducts& products_;
  const SampleSet& diseaseSamples_;
  bool divided_;
  double weight_;
  int divisor_;
};

}  // namespace geneclub

#endif  // GENECLUB_CLUBS_SAMPLE_GROUPS_H_
