#include "tools/synthetic_data.h"

#include <algorithm>

namespace geneclub {
namespace {

// A gene's level lies in one of 10 doublings from 15.00, anywhere within it:
// from 15.00 up to 15.00 * 2^10 = 15360.00. Each value is its gene's level
// times a noise factor of 70% to 130%, in steps of 0.01%, which keeps all
// values between 10.00 and 20000.00.
constexpr std::int64_t kLowestLevel = 1500;
constexpr int kLevelDoublings = 10;
constexpr int kStepsPerDoubling = 1000;
constexpr int kNoiseLowest = 7000;
constexpr int kNoiseSpan = 6001;
constexpr int kNoiseScale = 10000;

// Informative genes: one class is expressed at 3 times the other's level, so
// the classes' ranges (at most 1.3 and at least 2.1 times the low level) never
// overlap.
constexpr int kClassFoldChange = 3;

// In each informative gene, the samples picked by 1 to 3 random draws (a
// repeated draw misplaces fewer) take the other class's level. The genes then
// separate the classes well but each in its own way; perfect separators would
// share one profile and gain and be removed as duplicates of each other.
constexpr int kMaxMisplacedSamples = 3;

// The splitmix64 generator with its published constants: small, fast and the
// same on every platform, unlike the std:: distributions.
class SplitMix64 {
 public:
  explicit SplitMix64(std::uint64_t seed) : state_(seed) {}

  // A number in [0, bound); the slight modulo bias does not matter here.
  int below(int bound) {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
    z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
    return static_cast<int>((z ^ (z >> 31)) % static_cast<std::uint64_t>(bound));
  }

 private:
  std::uint64_t state_;
};

std::int64_t randomLevel(SplitMix64& rng, int doublings) {
  const std::int64_t doubling = kLowestLevel << rng.below(doublings);
  return doubling + doubling * rng.below(kStepsPerDoubling) / kStepsPerDoubling;
}

std::int64_t withNoise(std::int64_t level, SplitMix64& rng) {
  return level * (kNoiseLowest + rng.below(kNoiseSpan)) / kNoiseScale;
}

}  // namespace

SyntheticData makeSyntheticData(const SyntheticShape& shape) {
  SplitMix64 rng(shape.seed);
  SyntheticData data;
  // Spreads the Normal samples evenly among all, Bresenham fashion.
  for (int s = 0; s < shape.samples; ++s) {
    data.normal.push_back((s + 1) * shape.normalSamples / shape.samples !=
                          s * shape.normalSamples / shape.samples);
  }
  data.hundredths.assign(shape.genes, std::vector<std::int64_t>(shape.samples));
  for (std::vector<std::int64_t>& gene : data.hundredths) {
    const std::int64_t level = randomLevel(rng, kLevelDoublings);
    for (std::int64_t& value : gene) value = withNoise(level, rng);
  }
  const int plantedRows = shape.genes - shape.constantGenes - shape.copiedGenes;
  const int stride = shape.informativeStride > 0
                         ? shape.informativeStride
                         : std::max(1, plantedRows / std::max(1, shape.informativeGenes));
  for (int i = 0; i < shape.informativeGenes; ++i) {
    // Two doublings fewer keep 3 times the low level within the range.
    const std::int64_t lowLevel = randomLevel(rng, kLevelDoublings - 2);
    const bool diseaseIsHigh = i % 2 == 0;
    std::vector<bool> misplaced(shape.samples, false);
    const int misplacedCount = 1 + rng.below(kMaxMisplacedSamples);
    for (int n = 0; n < misplacedCount; ++n) misplaced[rng.below(shape.samples)] = true;
    std::vector<std::int64_t>& gene = data.hundredths[i * stride];
    for (int s = 0; s < shape.samples; ++s) {
      const bool high = (data.normal[s] != diseaseIsHigh) != misplaced[s];
      gene[s] = withNoise(high ? lowLevel * kClassFoldChange : lowLevel, rng);
    }
  }
  const int firstConstantRow = shape.genes - shape.constantGenes;
  for (int c = 0; c < shape.copiedGenes; ++c) {
    data.hundredths[firstConstantRow - shape.copiedGenes + c] = data.hundredths[c * stride];
  }
  for (int c = 0; c < shape.constantGenes; ++c) {
    data.hundredths[firstConstantRow + c].assign(shape.samples, randomLevel(rng, kLevelDoublings));
  }
  return data;
}

std::vector<std::vector<double>> expressionValues(const SyntheticData& data) {
  std::vector<std::vector<double>> values;
  values.reserve(data.hundredths.size());
  for (const std::vector<std::int64_t>& gene : data.hundredths) {
    std::vector<double>& row = values.emplace_back();
    row.reserve(gene.size());
    // An exact quotient of exact integers: the double nearest the printed
    // value, as reading it gives.
    for (const std::int64_t value : gene) row.push_back(value / 100.0);
  }
  return values;
}

std::vector<int> classLabels(const SyntheticData& data) {
  std::vector<int> labels;
  for (const bool normal : data.normal) labels.push_back(normal ? 0 : 1);
  return labels;
}

}  // namespace geneclub
