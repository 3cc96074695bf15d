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
#include <numeric>
#include <random>
#include <sstream>

#include "app/gene_club_session.h"
#include "clubs/club_runs.h"
#include "data/gene_club_analyzer.h"
#include "patterns/ep_miner.h"
#include "ranking/discretised_samples.h"
#include "ranking/start_up.h"
#include "readers/load_data.h"

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

// The analysis right after loading, read once.
const GeneClubAnalyzer& loadedAnalyzer() {
  static GeneClubAnalyzer* analyzer = [] {
    auto* loaded = new GeneClubAnalyzer;
    std::ostringstream console;
    if (loadData(dataFile().string(), kInteractiveGeneCount, kInteractiveSampleCount, *loaded,
                 console) != LoadStatus::kLoaded) {
      std::abort();
    }
    return loaded;
  }();
  return *analyzer;
}

// The analysis after the start-up ranking, made once.
const GeneClubAnalyzer& rankedAnalyzer() {
  static GeneClubAnalyzer* analyzer = [] {
    auto* ranked = new GeneClubAnalyzer(loadedAnalyzer());
    std::ostringstream console;
    rankAndCleanGenes(*ranked, console, CutCandidates::kEveryPosition);
    return ranked;
  }();
  return *analyzer;
}

void BM_Load(benchmark::State& state) {
  const std::string file = dataFile().string();
  for (auto _ : state) {
    GeneClubAnalyzer analyzer;
    std::ostringstream console;
    loadData(file, kInteractiveGeneCount, kInteractiveSampleCount, analyzer, console);
    benchmark::DoNotOptimize(analyzer.expressionMatrix.data());
  }
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

// Split points, gains, the three sorts and both cleaning steps.
void BM_RankingAndCleaning(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    GeneClubAnalyzer analyzer(loadedAnalyzer());
    state.ResumeTiming();
    std::ostringstream console;
    rankAndCleanGenes(analyzer, console, CutCandidates::kEveryPosition);
  }
}
BENCHMARK(BM_RankingAndCleaning)->Unit(benchmark::kMillisecond);

// The interactive start-up as a whole, its files included.
void BM_StartUp(benchmark::State& state) {
  enterWorkDir();
  std::filesystem::copy_file(dataFile(), "colonTumor.data",
                             std::filesystem::copy_options::overwrite_existing);
  for (auto _ : state) {
    std::ostringstream console;
    OutputFailures failures(std::cerr);
    GeneClubSession session(console, failures);
    session.loadData("colonTumor.data");
    session.runGlobalAnalysis();
    state.PauseTiming();
    std::filesystem::remove("EP.data");
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond);

void BM_GlobalMining(benchmark::State& state) {
  const GeneClubAnalyzer& analyzer = rankedAnalyzer();
  const DiscretisedSamples samples(analyzer);
  std::vector<int> topRows(20);
  std::iota(topRows.begin(), topRows.end(), 0);
  const PositionSamples positions = samples.positionSamples(topRows, 20);
  for (auto _ : state) {
    benchmark::DoNotOptimize(mineMinimalEps(positions, analyzer.classLabels, 20));
  }
}
BENCHMARK(BM_GlobalMining)->Unit(benchmark::kMillisecond);

// One method's clubs and their mining, without writing.
void BM_Method(benchmark::State& state) {
  const GeneClubAnalyzer& analyzer = rankedAnalyzer();
  const DiscretisedSamples samples(analyzer);
  const ClubContext context(analyzer, samples, interactiveSettings());
  const ClubMethod method = kClubMethods[state.range(0) - 1];
  for (auto _ : state) {
    int clubs = 0;
    runClubMethod(method, context, analyzer.classLabels, [&](const ClubRun&) { ++clubs; });
    benchmark::DoNotOptimize(clubs);
  }
}
BENCHMARK(BM_Method)->DenseRange(1, 4)->Unit(benchmark::kMillisecond)->UseRealTime();

// Random tuples with each bit set at probability 1/2 and two classes of
// `size` tuples: many difference sets per tuple and thousands of minimal
// transversals, far denser than real expression data.
void BM_DenseMining(benchmark::State& state) {
  constexpr int kPositions = 20;
  const int classSize = static_cast<int>(state.range(0));
  std::mt19937 random(7);
  std::vector<SampleTuple> target(classSize), other(classSize);
  for (SampleTuple& tuple : target) tuple = random() & allPositions(kPositions);
  for (SampleTuple& tuple : other) tuple = random() & allPositions(kPositions);
  int patterns = 0;
  for (auto _ : state) {
    patterns = mineClass(target, other, kPositions).patternCount();
  }
  state.counters["patterns"] = patterns;
  state.counters["patterns/s"] = benchmark::Counter(
      static_cast<double>(patterns) * state.iterations(), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DenseMining)->Arg(31)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace geneclub

BENCHMARK_MAIN();
