// Benchmarks of the program's stages on a real-size data set: loading, the
// ranking and cleaning steps, the global pattern mining, the whole start-up,
// each gene-club method, and the miner alone on dense synthetic inputs.
//
// The data file is the first of: $GENECLUB_DATA, the shared real data set
// beside the project, demo/colonTumor.data. Result files go to a temporary
// working directory; console output is discarded.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <random>

#include "data/gene_club_analyzer.h"
#include "data/process_state.h"
#include "patterns/ep_miner.h"
#include "patterns/minimal_transversals.h"
#include "ranking/discretised_samples.h"

namespace geneclub {
namespace {

std::filesystem::path dataFile() {
  if (const char* chosen = std::getenv("GENECLUB_DATA")) return chosen;
  const std::filesystem::path source(GENECLUB_SOURCE_DIR);
  const std::filesystem::path shared = source / ".." / "shared" / "data" / "colonTumor.data";
  if (std::filesystem::exists(shared)) return std::filesystem::canonical(shared);
  return std::filesystem::absolute(source / "demo" / "colonTumor.data");
}

// Keeps result files out of the project: the benchmarks run in a fresh
// temporary working directory.
void enterWorkDir() {
  static const bool entered = [] {
    std::string dir = (std::filesystem::temp_directory_path() / "geneclub-bench-XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr) std::abort();
    std::filesystem::current_path(dir);
    return true;
  }();
  (void)entered;
}

// Discards the program's console output while a benchmark runs (the
// benchmark library reports on std::cout after the run).
class MutedConsole {
 public:
  MutedConsole() : previous_(std::cout.rdbuf(nullptr)) { enterWorkDir(); }
  ~MutedConsole() { std::cout.rdbuf(previous_); }

 private:
  std::streambuf* previous_;
};

void resetProcessState() {
  geneNumbers.clear();
  geneIndexList.clear();
}

// The analyzer right after loading, read once.
const GeneClubAnalyzer& loadedAnalyzer() {
  static GeneClubAnalyzer* analyzer = [] {
    auto* loaded = new GeneClubAnalyzer;
    loaded->loadData(dataFile().string());
    return loaded;
  }();
  return *analyzer;
}

void copyLoaded(GeneClubAnalyzer& analyzer) {
  analyzer.expressionMatrix = loadedAnalyzer().expressionMatrix;
  analyzer.classLabels = loadedAnalyzer().classLabels;
  analyzer.informationGains.clear();
  analyzer.splitValues.clear();
  resetProcessState();
}

// Untimed: gives the analyzer the loaded data again when one is passed, and
// removes EP.data, which every run appends to.
void untimedReset(benchmark::State& state, GeneClubAnalyzer* analyzer = nullptr) {
  state.PauseTiming();
  if (analyzer != nullptr) copyLoaded(*analyzer);
  std::filesystem::remove("EP.data");
  state.ResumeTiming();
}

void BM_Load(benchmark::State& state) {
  MutedConsole muted;
  const std::string file = dataFile().string();
  for (auto _ : state) {
    GeneClubAnalyzer analyzer;
    analyzer.loadData(file);
    benchmark::DoNotOptimize(analyzer.expressionMatrix.data());
  }
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

// Split points, gains, the three sorts, both cleaning steps and topGenes.data.
void BM_RankingAndCleaning(benchmark::State& state) {
  MutedConsole muted;
  GeneClubAnalyzer analyzer;
  for (auto _ : state) {
    untimedReset(state, &analyzer);
    analyzer.computeSplitsAndGains();
    analyzer.countIncompleteData();
    analyzer.sortGenesByGain();
    analyzer.removeDuplicatedGenes();
    analyzer.sortGenesByGain();
    analyzer.writeTopGenes();
  }
}
BENCHMARK(BM_RankingAndCleaning)->Unit(benchmark::kMillisecond);

void BM_StartUp(benchmark::State& state) {
  MutedConsole muted;
  GeneClubAnalyzer analyzer;
  for (auto _ : state) {
    untimedReset(state, &analyzer);
    analyzer.runGlobalAnalysis();
  }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

// The analyzer after the global run, made once.
GeneClubAnalyzer& rankedAnalyzer() {
  static GeneClubAnalyzer* analyzer = [] {
    MutedConsole muted;
    auto* ranked = new GeneClubAnalyzer;
    copyLoaded(*ranked);
    ranked->runGlobalAnalysis();
    return ranked;
  }();
  return *analyzer;
}

void BM_GlobalMining(benchmark::State& state) {
  MutedConsole muted;
  GeneClubAnalyzer& analyzer = rankedAnalyzer();
  const PositionSamples samples = analyzer.discretiseSamples().positionSamples(geneIndexList);
  for (auto _ : state) {
    untimedReset(state);
    analyzer.mineMinimalEps(samples);
  }
}
BENCHMARK(BM_GlobalMining)->Unit(benchmark::kMillisecond);

void BM_Method(benchmark::State& state) {
  MutedConsole muted;
  GeneClubAnalyzer& analyzer = rankedAnalyzer();
  void (GeneClubAnalyzer::*const methods[])() = {&GeneClubAnalyzer::runIndependentMethod,
                                                 &GeneClubAnalyzer::runDivisionMethod,
                                                 &GeneClubAnalyzer::runIndependentIterativeMethod,
                                                 &GeneClubAnalyzer::runDivisionIterativeMethod};
  const auto method = methods[state.range(0) - 1];
  for (auto _ : state) {
    untimedReset(state);
    (analyzer.*method)();
  }
}
BENCHMARK(BM_Method)->DenseRange(1, 4)->Unit(benchmark::kMillisecond);

// Random tuples with each bit set at probability 1/2 and two classes of
// `size` tuples: many difference sets per tuple and thousands of minimal
// transversals, far denser than real expression data.
void BM_DenseMining(benchmark::State& state) {
  MutedConsole muted;
  const int classSize = static_cast<int>(state.range(0));
  std::mt19937 random(7);
  std::vector<SampleTuple> target(classSize), other(classSize);
  for (SampleTuple& tuple : target) tuple = random() & kAllPositions;
  for (SampleTuple& tuple : other) tuple = random() & kAllPositions;
  // The class's distinct minimal EPs, counted once outside the timing.
  PatternStore patterns;
  for (const SampleTuple tuple : target) {
    GeneMaskStore differences;
    if (collectDifferenceSets(tuple, other, differences)) continue;
    GeneMaskStore minimal;
    for (const GeneMask difference : differences.inStoreOrder()) minimal.addIfMinimal(difference);
    for (const GeneMask mask : minimalTransversals(minimal.inStoreOrder())) {
      patterns.addIfAbsent(projectMask(mask, tuple));
    }
  }
  for (auto _ : state) {
    untimedReset(state);
    EpBlockWriter writer;
    mineClass(target, other, writer);
  }
  state.counters["patterns"] = patterns.size();
  state.counters["patterns/s"] = benchmark::Counter(
      static_cast<double>(patterns.size()) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DenseMining)->Arg(31)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace geneclub

BENCHMARK_MAIN();
