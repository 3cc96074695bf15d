#include "tools/report_demo_input.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace geneclub {
namespace {

// A 64-bit linear congruential generator (Knuth's MMIX constants): the same
// numbers on every platform, unlike the standard library's distributions.
class DemoRandom {
 public:
  explicit DemoRandom(std::uint64_t seed) : state_(seed) {}

  // Uniform in [0, 1), from the state's top 53 bits.
  double uniform() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state_ >> 11) * 0x1.0p-53;
  }

  // Uniform in 0..count-1.
  int below(int count) { return static_cast<int>(uniform() * count); }

 private:
  std::uint64_t state_;
};

constexpr std::uint64_t kSeed = 20260101;

// Shares of the samples and genes the demo gives each role: 60% of samples in
// class 1; every 17th of the best 50 genes a duplicate, and the last 1% of
// the ranking incomplete (gain 0).
constexpr int kClassOneShareOfTen = 6;
constexpr int kDuplicateStride = 17;
constexpr int kBestGenesWithDuplicates = 50;
constexpr int kIncompletePerHundred = 1;

// Gains fall off exponentially from 0.45 nats, flattening after the first
// tenth of the ranking, as real rankings do.
constexpr double kTopGain = 0.45;

// Patterns per class, and at most 3 conditions each.
constexpr int kPatternsPerClass = 60;
constexpr int kMaxConditions = 3;

// Members of each club besides its top gene.
constexpr int kClubMembers = 19;

const char* const kMethodNames[] = {"independent", "division", "independent-iterative",
                                    "division-iterative"};

std::string geneName(int place) {
  if (place == 1) return kDemoTopGeneName;
  // The third gene's name holds a tab and quotes, which JSON must escape.
  if (place == 3) return "AFFX\t'probe' \"3\"";
  std::string name = "G";
  name += std::to_string(1000 + place * 7 % 9000);
  name += "_at";
  return name;
}

void fillRanking(const DemoReportShape& shape, DemoRandom& random, ReportInput& input) {
  const int incomplete = std::max(1, shape.genes * kIncompletePerHundred / 100);
  const int inPlay = shape.genes - incomplete;
  for (int place = 1; place <= shape.genes; ++place) {
    RankedGene gene;
    gene.name = geneName(place);
    gene.split = std::round(50.0 + 4000.0 * random.uniform()) / 4.0;
    if (place <= inPlay) {
      const double falloff = std::exp(-10.0 * (place - 1) / shape.genes);
      gene.gain = kTopGain * (0.15 + 0.85 * falloff) * (1.0 - 0.02 * random.uniform());
      if (place <= kBestGenesWithDuplicates && place % kDuplicateStride == 0) {
        gene.status = RankedGeneStatus::kDuplicate;
      }
    } else {
      gene.status = RankedGeneStatus::kIncomplete;
    }
    if (shape.withPValues) gene.pFwer = std::min(1.0, 0.001 * place * place / 4.0);
    input.ranking.push_back(gene);
  }
  // Gains must fall with the place; the jitter above may break that.
  for (int i = 1; i < inPlay; ++i) {
    input.ranking[i].gain = std::min(input.ranking[i].gain, input.ranking[i - 1].gain);
  }
}

void fillSamplesAndTopGenes(const DemoReportShape& shape, DemoRandom& random, ReportInput& input) {
  for (int s = 0; s < shape.samples; ++s) {
    ReportSample sample;
    sample.name = "S";
    sample.name += s == 1 ? "<2> & \"co\"" : std::to_string(s + 1);
    sample.classLabel = (s * 7) % 10 < kClassOneShareOfTen ? kClassOne : kClassZero;
    input.samples.push_back(sample);
  }
  for (int t = 0; t < shape.topK; ++t) {
    TopGeneValues top;
    top.place = t + 1;
    const double split = input.ranking[t].split;
    for (const ReportSample& sample : input.samples) {
      // Class 1 mostly above the cut, class 0 mostly below, with overlap.
      const double centre = sample.classLabel == kClassOne ? 1.35 : 0.7;
      const double spread = 0.5 * (random.uniform() - 0.5);
      // Every second gene has the long tail of raw intensities: its values
      // spread over two decades on either side of the cut, as exp of a
      // uniform draw.
      top.values.push_back(t % 2 == 1 ? split * std::exp(std::log(centre) + 9.0 * spread)
                                      : split * (centre + spread));
    }
    input.topGenes.push_back(top);
  }
}

void fillPatterns(const DemoReportShape& shape, DemoRandom& random, ReportInput& input) {
  for (int label : {kClassOne, kClassZero}) {
    std::vector<int> members;
    for (int s = 0; s < shape.samples; ++s) {
      if (input.samples[s].classLabel == label) members.push_back(s);
    }
    auto& patterns = input.classPatterns[label];
    for (int p = 0; p < kPatternsPerClass && !members.empty(); ++p) {
      EmergingPattern pattern;
      // Distinct genes in ascending place, each above or at or below its cut.
      const int conditions = std::min(shape.topK, 1 + random.below(kMaxConditions));
      std::vector<int> places;
      while (static_cast<int>(places.size()) < conditions) {
        const int place = 1 + random.below(shape.topK);
        if (std::find(places.begin(), places.end(), place) == places.end()) places.push_back(place);
      }
      std::sort(places.begin(), places.end());
      for (int place : places) pattern.conditions.push_back({place, random.uniform() < 0.5});
      // Support falls from 90% of the class towards 10%.
      const double share = 0.9 - 0.8 * p / kPatternsPerClass;
      for (int s : members) {
        if (random.uniform() < share) pattern.samples.push_back(s);
      }
      pattern.support = static_cast<int>(pattern.samples.size());
      patterns.push_back(pattern);
    }
    std::stable_sort(
        patterns.begin(), patterns.end(),
        [](const EmergingPattern& a, const EmergingPattern& b) { return a.support > b.support; });
  }
}

// Strong patterns as the class files list them: a few per class from the
// global run and each method's clubs, supported by all or all but one sample.
void fillStrongPatterns(const DemoReportShape& shape, DemoRandom& random, ReportInput& input) {
  constexpr int kStrongPerClass = 24;
  std::array<int, 2> classSizes = {0, 0};
  for (const ReportSample& sample : input.samples) ++classSizes[sample.classLabel];
  for (int label : {kClassOne, kClassZero}) {
    for (int p = 0; p < kStrongPerClass; ++p) {
      StrongPattern pattern;
      const int method = p % (shape.methods + 1);
      pattern.foundBy = method == 0 ? "global" : kMethodNames[method - 1];
      pattern.clubPlace = method == 0 ? 0 : 1 + random.below(shape.topK);
      const int conditions = 2 + random.below(kMaxConditions);
      for (int c = 0; c < conditions; ++c) {
        pattern.conditions.push_back({1 + random.below(shape.pool), random.uniform() < 0.5});
      }
      pattern.support = classSizes[label] - random.below(2);
      input.strongPatterns[label].push_back(pattern);
    }
  }
}

void fillClubs(const DemoReportShape& shape, DemoRandom& random, ReportInput& input) {
  for (int m = 0; m < shape.methods; ++m) {
    ClubMethodRun run;
    run.method = kMethodNames[m];
    input.header.settings.methods.push_back(run.method);
    for (int t = 1; t <= shape.topK; ++t) {
      std::vector<int> club = {t};
      while (static_cast<int>(club.size()) <= std::min(kClubMembers, shape.pool - 1)) {
        // Members come mostly from the better half of the pool.
        const double draw = random.uniform();
        const int place = 1 + static_cast<int>(draw * draw * shape.pool);
        if (std::find(club.begin(), club.end(), place) == club.end()) club.push_back(place);
      }
      run.clubs.push_back(club);
      run.patternCounts.push_back(5 + random.below(400));
    }
    input.clubRuns.push_back(run);
  }
}

void fillEvaluation(DemoRandom& random, ReportInput& input) {
  ReportEvaluation evaluation;
  evaluation.method = "kfold:5";
  constexpr int kFolds = 5;
  evaluation.candidateRules = {"sum", "normalised", "top"};
  evaluation.candidateTopGenes = {5, 10, 20, 32};
  evaluation.referenceRule = "sum";
  evaluation.referenceTopGenes = 20;
  evaluation.choices = {{"sum", 20, 3}, {"top", 10, 2}};
  // Every seventh sample holds no pattern: it scores 0 for both classes.
  constexpr int kUncoveredStride = 7;
  std::array<int, 2> correct = {0, 0};
  std::array<int, 2> sizes = {0, 0};
  for (std::size_t s = 0; s < input.samples.size(); ++s) {
    SamplePrediction prediction;
    prediction.fold = static_cast<int>(s) % kFolds + 1;
    prediction.trueLabel = input.samples[s].classLabel;
    const double lean = prediction.trueLabel == kClassOne ? 0.25 : -0.25;
    prediction.scoreClassOne = std::clamp(0.5 + lean + 0.6 * (random.uniform() - 0.5), 0.0, 1.0);
    prediction.scoreClassZero = std::clamp(0.5 - lean + 0.6 * (random.uniform() - 0.5), 0.0, 1.0);
    if (s % kUncoveredStride == kUncoveredStride - 1) {
      prediction.covered = false;
      prediction.scoreClassOne = prediction.scoreClassZero = 0.0;
    }
    prediction.predictedLabel =
        prediction.scoreClassOne >= prediction.scoreClassZero ? kClassOne : kClassZero;
    ++evaluation.confusion[prediction.trueLabel][prediction.predictedLabel];
    ++sizes[prediction.trueLabel];
    if (prediction.trueLabel == prediction.predictedLabel) ++correct[prediction.trueLabel];
    evaluation.predictions.push_back(prediction);
  }
  const auto recall = [&](int label) {
    return sizes[label] > 0 ? static_cast<double>(correct[label]) / sizes[label] : 0.0;
  };
  evaluation.recallClassOne = recall(kClassOne);
  evaluation.recallClassZero = recall(kClassZero);
  evaluation.accuracy =
      static_cast<double>(correct[0] + correct[1]) / static_cast<double>(input.samples.size());
  evaluation.balancedAccuracy = (evaluation.recallClassOne + evaluation.recallClassZero) / 2.0;
  input.evaluation = evaluation;
}

}  // namespace

DemoReportShape largestDemoShape() {
  return {.genes = 12600,
          .samples = 102,
          .topK = 32,
          .pool = 1600,
          .methods = 4,
          .withEvaluation = true,
          .withPValues = true};
}

ReportInput makeDemoReportInput(const DemoReportShape& shape) {
  DemoRandom random(kSeed);
  ReportInput input;
  ReportHeader& header = input.header;
  header.dataPath = "data/demo <set> & \"copy\".csv";
  header.classOneLabel = kDemoClassOneLabel;
  header.classZeroLabel = kDemoClassZeroLabel;
  header.programVersion = "0.0-demo";
  header.runDate = "2026-01-01";
  header.settings.topK = shape.topK;
  header.settings.pool = shape.pool;
  header.settings.missingValuePolicy = "drop-gene";
  fillRanking(shape, random, input);
  fillSamplesAndTopGenes(shape, random, input);
  fillPatterns(shape, random, input);
  fillClubs(shape, random, input);
  if (shape.methods > 0) fillStrongPatterns(shape, random, input);
  if (shape.withEvaluation) fillEvaluation(random, input);
  // Three genes of the file were dropped for missing values.
  header.geneCounts.droppedForMissingValues = 3;
  header.geneCounts.total = shape.genes + header.geneCounts.droppedForMissingValues;
  for (const RankedGene& gene : input.ranking) {
    if (gene.status == RankedGeneStatus::kIncomplete) ++header.geneCounts.incomplete;
    if (gene.status == RankedGeneStatus::kDuplicate) ++header.geneCounts.duplicate;
  }
  return input;
}

}  // namespace geneclub
