// Writes a synthetic two-class expression data set in the layout of
// colonTumor.data: 62 sample records of 2000 values, each value followed by a
// comma, then the class word. A fixed seed makes every run write the same
// bytes, and planted genes give the ranking, the emerging patterns and the
// gene clubs something to find.
//
// Usage: make_demo_data <output-path>. An existing file is never replaced.

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// The interactive program's fixed shape: 2000 genes measured on 62 samples.
constexpr int kGeneCount = 2000;
constexpr int kSampleCount = 62;

// 40 "negative" (Disease) and 22 "positive" (Normal) samples, the class sizes
// the analysis is built for: its strong-pattern thresholds of 39 and 21
// samples mean "all samples of the class but one".
constexpr int kNormalSampleCount = 22;

// Levels are kept in hundredths, exact integers until printed with two
// decimals. A gene's level lies in one of 10 doublings from 15.00, anywhere
// within it: from 15.00 up to 15.00 * 2^10 = 15360.00. Each value is its
// gene's level times a noise factor of 70% to 130%, in steps of 0.01%, which
// keeps all values between 10.00 and 20000.00.
constexpr std::int64_t kLowestLevel = 1500;
constexpr int kLevelDoublings = 10;
constexpr int kStepsPerDoubling = 1000;
constexpr int kNoiseLowest = 7000;
constexpr int kNoiseSpan = 6001;
constexpr int kNoiseScale = 10000;

// Informative genes: one class is expressed at 3 times the other's level, so
// the classes' ranges (at most 1.3 and at least 2.1 times the low level) never
// overlap. 32 of them fill the 20 mined top genes and leave a dozen more for
// the gene clubs; a stride of 61 spreads them over rows 0, 61, ..., 1891.
constexpr int kInformativeGeneCount = 32;
constexpr int kInformativeStride = 61;
constexpr int kClassFoldChange = 3;

// In each informative gene, the samples picked by 1 to 3 random draws (a
// repeated draw misplaces fewer) take the other class's level. The genes then
// separate the classes well but each in its own way; perfect separators would
// share one profile and gain and be removed as duplicates of each other. A
// gene with a single misplaced sample already yields a strong pattern of
// support 39 or 21.
constexpr int kMaxMisplacedSamples = 3;

// The last 3 rows hold one value in all 62 samples, which the analysis counts
// as incomplete data; the 4 rows before them copy the first informative genes,
// which it removes as duplicates.
constexpr int kConstantGeneCount = 3;
constexpr int kCopiedGeneCount = 4;

// An arbitrary fixed seed; another one gives a different, equally usable set.
constexpr std::uint64_t kSeed = 20240601;

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

// Spreads the 22 Normal samples evenly among the 62, Bresenham fashion.
bool isNormalSample(int sample) {
  return (sample + 1) * kNormalSampleCount / kSampleCount !=
         sample * kNormalSampleCount / kSampleCount;
}

std::int64_t randomLevel(SplitMix64& rng, int doublings) {
  const std::int64_t doubling = kLowestLevel << rng.below(doublings);
  return doubling + doubling * rng.below(kStepsPerDoubling) / kStepsPerDoubling;
}

std::int64_t withNoise(std::int64_t level, SplitMix64& rng) {
  return level * (kNoiseLowest + rng.below(kNoiseSpan)) / kNoiseScale;
}

// Expression values in hundredths, indexed [gene][sample].
using ExpressionValues = std::vector<std::vector<std::int64_t>>;

ExpressionValues makeExpressionValues() {
  SplitMix64 rng(kSeed);
  ExpressionValues genes(kGeneCount, std::vector<std::int64_t>(kSampleCount));
  for (std::vector<std::int64_t>& gene : genes) {
    const std::int64_t level = randomLevel(rng, kLevelDoublings);
    for (std::int64_t& value : gene) value = withNoise(level, rng);
  }
  for (int i = 0; i < kInformativeGeneCount; ++i) {
    // Two doublings fewer keep 3 times the low level within the range.
    const std::int64_t lowLevel = randomLevel(rng, kLevelDoublings - 2);
    const bool diseaseIsHigh = i % 2 == 0;
    std::vector<bool> misplaced(kSampleCount, false);
    const int misplacedCount = 1 + rng.below(kMaxMisplacedSamples);
    for (int n = 0; n < misplacedCount; ++n) misplaced[rng.below(kSampleCount)] = true;
    std::vector<std::int64_t>& gene = genes[i * kInformativeStride];
    for (int s = 0; s < kSampleCount; ++s) {
      const bool high = (isNormalSample(s) != diseaseIsHigh) != misplaced[s];
      gene[s] = withNoise(high ? lowLevel * kClassFoldChange : lowLevel, rng);
    }
  }
  const int firstConstantRow = kGeneCount - kConstantGeneCount;
  for (int c = 0; c < kCopiedGeneCount; ++c) {
    genes[firstConstantRow - kCopiedGeneCount + c] = genes[c * kInformativeStride];
  }
  for (int c = 0; c < kConstantGeneCount; ++c) {
    genes[firstConstantRow + c].assign(kSampleCount, randomLevel(rng, kLevelDoublings));
  }
  return genes;
}

// One line per sample: its 2000 values as 1234.56 each followed by a comma,
// then the class word.
bool writeRecords(std::FILE* out, const ExpressionValues& genes) {
  for (int s = 0; s < kSampleCount; ++s) {
    for (const std::vector<std::int64_t>& gene : genes) {
      std::fprintf(out, "%lld.%02lld,", static_cast<long long>(gene[s] / 100),
                   static_cast<long long>(gene[s] % 100));
    }
    std::fprintf(out, "%s\n", isNormalSample(s) ? "positive" : "negative");
  }
  return std::ferror(out) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "make_demo_data: usage: make_demo_data <output-path>\n");
    return 2;
  }
  const char* path = argv[1];
  // Mode "x" makes the open fail, rather than truncate, when the path exists.
  std::FILE* out = std::fopen(path, "wx");
  if (out == nullptr) {
    std::fprintf(stderr, "make_demo_data: cannot create %s: %s\n", path,
                 errno == EEXIST ? "it exists and is not overwritten" : std::strerror(errno));
    return 1;
  }
  const bool written = writeRecords(out, makeExpressionValues());
  if (std::fclose(out) != 0 || !written) {
    std::fprintf(stderr, "make_demo_data: cannot write %s\n", path);
    std::remove(path);  // A partial file would be taken for a complete one.
    return 1;
  }
  return 0;
}
