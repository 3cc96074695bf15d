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
#include <utility>
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

// The numbers of the group's samples of label 0 and of label 1 (those in
// diseaseSamples).
std::pair<int, int> classCounts(const SampleGroup& group, const SampleSet& diseaseSamples);

// The products size * classEntropy of every group of two or more samples,
// by its class counts: tabulated for data sets of moderate size, computed on
// each request for larger ones (the very same double either way).
class EntropyProducts {
 public:
  EntropyProducts(int normalSamples, int diseaseSamples);

  // REQUIRES: normals <= normalSamples, diseases <= diseaseSamples.
  bool tabulated() const { return !table_.empty(); }

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
// a fixed factor, the product formed first. The terms are tabulated by the
// groups' class counts when the products are, so scoring a candidate is a few
// popcounts and table lookups per group.
class PartitionEntropy {
 public:
  // Terms (size * entropy) * weight, for groups of at most the given class
  // counts.
  static PartitionEntropy weighted(const EntropyProducts& products, const SampleSet& diseaseSamples,
                                   int maxNormals, int maxDiseases, double weight);
  // Terms (size * entropy) / divisor.
  static PartitionEntropy divided(const EntropyProducts& products, const SampleSet& diseaseSamples,
                                  int maxNormals, int maxDiseases, int divisor);

  // The groups of a partition that hold samples of both classes, ready for
  // scoring: each group's words that hold any of its samples, split by class.
  struct MixedGroups {
    struct Word {
      int index;
      std::uint64_t normals;
      std::uint64_t diseases;
    };
    struct Group {
      int wordsEnd;  // one past its last word
      int normalCount;
      int diseaseCount;
    };
    std::vector<Word> words;
    std::vector<Group> groups;
    bool singleWord = false;  // every group is one word, the first
  };

  // A group of one class splits into parts of one class, whose terms are
  // exactly +0.0, and adding +0.0 to the non-negative sum leaves it
  // unchanged: scoring only the mixed groups gives the same sums.
  MixedGroups mixedGroups(const SampleGroupList& groups) const;

  // The term of a group of the given class counts; 0.0 below two samples.
  double term(int normals, int diseases) const {
    if (!terms_.empty()) return terms_[static_cast<std::size_t>(normals) * stride_ + diseases];
    return computeTerm(normals, diseases);
  }

  // The sum for refineSampleGroups(groups, rowBits), without building it
  // (rowBits holds one word per word of a sample set):
  // each group's part at or below the split, then its part above. A part of
  // fewer than two samples has a zero term, which leaves the sum unchanged.
  double ofRefinement(const MixedGroups& mixed, const std::uint64_t* rowBits) const {
    if (terms_.empty())
      return sumOfRefinement(mixed, rowBits, [this](int normals, int diseases) {
        return computeTerm(normals, diseases);
      });
    const double* terms = terms_.data();
    const std::size_t stride = stride_;
    return sumOfRefinement(mixed, rowBits, [terms, stride](int normals, int diseases) {
      return terms[static_cast<std::size_t>(normals) * stride + diseases];
    });
  }

 private:
  template <typename Term>
  static double sumOfRefinement(const MixedGroups& mixed, const std::uint64_t* rowBits,
                                const Term& term) {
    double sum = 0.0;
    if (mixed.singleWord) {
      const std::uint64_t bits = rowBits[0];
      for (std::size_t g = 0; g < mixed.groups.size(); ++g) {
        const int normalsAbove = std::popcount(mixed.words[g].normals & bits);
        const int diseasesAbove = std::popcount(mixed.words[g].diseases & bits);
        sum = sum + term(mixed.groups[g].normalCount - normalsAbove,
                         mixed.groups[g].diseaseCount - diseasesAbove);
        sum = sum + term(normalsAbove, diseasesAbove);
      }
      return sum;
    }
    int word = 0;
    for (const MixedGroups::Group& group : mixed.groups) {
      int normalsAbove = 0, diseasesAbove = 0;
      for (; word < group.wordsEnd; ++word) {
        const MixedGroups::Word& w = mixed.words[word];
        const std::uint64_t bits = rowBits[w.index];
        normalsAbove += std::popcount(w.normals & bits);
        diseasesAbove += std::popcount(w.diseases & bits);
      }
      sum = sum + term(group.normalCount - normalsAbove, group.diseaseCount - diseasesAbove);
      sum = sum + term(normalsAbove, diseasesAbove);
    }
    return sum;
  }

  PartitionEntropy(const EntropyProducts& products, const SampleSet& diseaseSamples, int maxNormals,
                   int maxDiseases, bool divided, double weight, int divisor);

  double computeTerm(int normals, int diseases) const {
    if (normals + diseases < 2) return 0.0;
    const double product = products_(normals, diseases);
    return divided_ ? product / divisor_ : product * weight_;
  }

  const EntropyProducts& products_;
  const SampleSet& diseaseSamples_;
  bool divided_;
  double weight_;
  int divisor_;
  int stride_;
  // terms_[normals * stride_ + diseases], when the products are tabulated.
  std::vector<double> terms_;
};

}  // namespace geneclub

#endif  // GENECLUB_CLUBS_SAMPLE_GROUPS_H_
