#include "clubs/sample_groups.h"

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

PartitionEntropy PartitionEntropy::weighted(std::uint64_t diseaseSamples, double weight) {
  return PartitionEntropy(diseaseSamples, [weight](double product) { return product * weight; });
}

PartitionEntropy PartitionEntropy::divided(std::uint64_t diseaseSamples, int divisor) {
  return PartitionEntropy(diseaseSamples, [divisor](double product) { return product / divisor; });
}

SampleGroupList PartitionEntropy::mixedGroups(const SampleGroupList& groups) const {
  SampleGroupList mixed;
  for (const SampleGroup group : groups) {
    if ((group.samples & diseaseSamples_) != 0 && (group.samples & ~diseaseSamples_) != 0) {
      mixed.push_back(group);
    }
  }
  return mixed;
}

}  // namespace geneclub
