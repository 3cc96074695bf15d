#include "clubs/sample_groups.h"

#include "ranking/class_entropy.h"

namespace geneclub {
namespace {

// Above this many entries (32 MiB of doubles, a data set of about 4000
// samples) the products are computed on each request: the table grows with
// the product of the class sizes.
constexpr std::size_t kMaxTableEntries = std::size_t{1} << 22;

}  // namespace

SampleGroupList splitSampleGroup(const SampleGroup& group, std::span<const std::uint64_t> rowBits) {
  SampleGroup low = group, high = group;
  const std::span<std::uint64_t> lowWords = low.words(), highWords = high.words();
  for (std::size_t w = 0; w < lowWords.size(); ++w) {
    lowWords[w] &= ~rowBits[w];
    highWords[w] &= rowBits[w];
  }
  SampleGroupList parts;
  if (!low.empty()) parts.push_back(std::move(low));
  if (!high.empty()) parts.push_back(std::move(high));
  return parts;
}

SampleGroupList refineSampleGroups(const SampleGroupList& groups,
                                   std::span<const std::uint64_t> rowBits) {
  SampleGroupList refined;
  for (const SampleGroup& group : groups) {
    if (group.size() < 2) continue;
    for (SampleGroup& part : splitSampleGroup(group, rowBits)) refined.push_back(std::move(part));
  }
  return refined;
}

std::pair<int, int> classCounts(const SampleGroup& group, const SampleSet& diseaseSamples) {
  const std::span<const std::uint64_t> words = group.words();
  const std::span<const std::uint64_t> diseases = diseaseSamples.words();
  int normals = 0, diseasesIn = 0;
  for (std::size_t w = 0; w < words.size(); ++w) {
    normals += std::popcount(words[w] & ~diseases[w]);
    diseasesIn += std::popcount(words[w] & diseases[w]);
  }
  return {normals, diseasesIn};
}

EntropyProducts::EntropyProducts(int normalSamples, int diseaseSamples)
    : diseaseSamples_(diseaseSamples) {
  const std::size_t entries =
      static_cast<std::size_t>(normalSamples + 1) * static_cast<std::size_t>(diseaseSamples + 1);
  if (entries > kMaxTableEntries) return;
  table_.resize(entries);
  for (int normals = 0; normals <= normalSamples; ++normals) {
    for (int diseases = 0; diseases <= diseaseSamples; ++diseases) {
      table_[static_cast<std::size_t>(normals) * (diseaseSamples + 1) + diseases] =
          product(normals, diseases);
    }
  }
}

double EntropyProducts::product(int normals, int diseases) {
  const double size = normals + diseases;
  return size * classEntropyOfCounts(normals, diseases);
}

PartitionEntropy::PartitionEntropy(const EntropyProducts& products, const SampleSet& diseaseSamples,
                                   int maxNormals, int maxDiseases, bool divided, double weight,
                                   int divisor)
    : products_(products),
      diseaseSamples_(diseaseSamples),
      divided_(divided),
      weight_(weight),
      divisor_(divisor),
      stride_(maxDiseases + 1) {
  if (!products.tabulated()) return;
  terms_.resize(static_cast<std::size_t>(maxNormals + 1) * stride_);
  for (int normals = 0; normals <= maxNormals; ++normals) {
    for (int diseases = 0; diseases <= maxDiseases; ++diseases) {
      terms_[static_cast<std::size_t>(normals) * stride_ + diseases] =
          computeTerm(normals, diseases);
    }
  }
}

PartitionEntropy PartitionEntropy::weighted(const EntropyProducts& products,
                                            const SampleSet& diseaseSamples, int maxNormals,
                                            int maxDiseases, double weight) {
  return PartitionEntropy(products, diseaseSamples, maxNormals, maxDiseases, false, weight, 1);
}

PartitionEntropy PartitionEntropy::divided(const EntropyProducts& products,
                                           const SampleSet& diseaseSamples, int maxNormals,
                                           int maxDiseases, int divisor) {
  return PartitionEntropy(products, diseaseSamples, maxNormals, maxDiseases, true, 1.0, divisor);
}

PartitionEntropy::MixedGroups PartitionEntropy::mixedGroups(const SampleGroupList& groups) const {
  MixedGroups mixed;
  const std::span<const std::uint64_t> diseases = diseaseSamples_.words();
  mixed.singleWord = diseases.size() == 1;
  for (const SampleGroup& group : groups) {
    const auto [normalCount, diseaseCount] = classCounts(group, diseaseSamples_);
    if (normalCount == 0 || diseaseCount == 0) continue;
    const std::span<const std::uint64_t> words = group.words();
    for (std::size_t w = 0; w < words.size(); ++w) {
      if (words[w] == 0) continue;
      mixed.words.push_back({static_cast<int>(w), words[w] & ~diseases[w], words[w] & diseases[w]});
    }
    mixed.groups.push_back({static_cast<int>(mixed.words.size()), normalCount, diseaseCount});
  }
  return mixed;
}

}  // namespace geneclub
