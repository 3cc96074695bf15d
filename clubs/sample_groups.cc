#include "clubs/sample_groups.h"

#include "ranking/class_entropy.h"

namespace geneclub {

SampleGroupList splitSampleGroup(SampleGroup group, GeneProfile rowBits) {
  SampleGroupList parts;
  const SampleGroup low{group.samples & ~rowBits};
  const SampleGroup high{group.samples & rowBits};
  if (low.samples != 0) parts.push_back(low);
  if (high.samples != 0) parts.push_back(high);
  return parts;
}

SampleGroupList refineSampleGroups(const SampleGroupList& groups, GeneProfile rowBits) {
  SampleGroupList refined;
  for (const SampleGroup group : groups) {
    if (group.size() < 2) continue;
    for (const SampleGroup part : splitSampleGroup(group, rowBits)) refined.push_back(part);
  }
  return refined;
}

const PartitionEntropy::TermTable& PartitionEntropy::entropyProducts() {
  static const TermTable products = [] {
    TermTable table{};
    for (int zeros = 0; zeros <= kSampleCount; ++zeros) {
      for (int others = 0; zeros + others <= kSampleCount; ++others) {
        const double size = zeros + others;
        table[zeros][others] = size * classEntropyOfCounts(zeros, others);
      }
    }
    return table;
  }();
  return products;
}

PartitionEntropy PartitionEntropy::weighted(std::uint64_t diseaseSamples, double weight) {
  return PartitionEntropy(diseaseSamples, [weight](double product) { return product * weight; });
}

PartitionEntropy PartitionEntropy::divided(std::uint64_t diseaseSamples, int divisor) {
  return PartitionEntropy(diseaseSamples, [divisor](double product) { return product / divisor; });
}

std::vector<PartitionEntropy::MixedGroup> PartitionEntropy::mixedGroups(
    const SampleGroupList& groups) const {
  std::vector<MixedGroup> mixed;
  for (const SampleGroup group : groups) {
    const std::uint64_t normal = group.samples & ~diseaseSamples_;
    const std::uint64_t disease = group.samples & diseaseSamples_;
    if (normal != 0 && disease != 0) {
      mixed.push_back({normal, disease, std::popcount(normal), std::popcount(disease)});
    }
  }
  return mixed;
}

}  // namespace geneclub
