// Benchmarks of the program's stages on a real-size data set: loading, the
// start-up analysis, the global pattern mining, the whole start-up with files,
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
#include <variant>

#include "analysis/club_methods.h"
#include "analysis/start_up.h"
#include "app/gene_club_session.h"
#include "patterns/ep_miner.h"
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

// The data as loaded, read once.
const ExpressionData& loadedData() {
  static const ExpressionData* data = [] {
    auto loaded = loadData(dataFile().string(), kInteractiveGeneCount, kInteractiveSampleCount);
    if (!std::holds_alternative<ExpressionData>(loaded)) std::abort();
    return new ExpressionData(std::move(std::get<ExpressionData>(loaded)));
  }();
  return *data;
}

// The start-up of the interactive program, made once.
const StartUpResult& startUp() {
  static const StartUpResult* result =
      new StartUpResult(runStartUp(loadedData(), interactiveSettings()));
  return *result;
}

void BM_Load(benchmark::State& state) {
  const std::string file = dataFile().string();
  for (auto _ : state) {
    auto loaded = loadData(file, kInteractiveGeneCount, kInteractiveSampleCount);
    benchmark::DoNotOptimize(loaded);
  }
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

// Split points, gains, the three sorts, both cleaning steps, the
// discretisation and the global mining run.
void BM_StartUpAnalysis(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    ExpressionData data(loadedData());
    state.ResumeTiming();
    benchmark::DoNotOptimize(runStartUp(std::move(data), interactiveSettings()));
  }
}
BENCHMARK(BM_StartUpAnalysis)->Unit(benchmark::kMillisecond);

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
  const StartUpResult& result = startUp();
  const PositionSamples positions = result.samples.positionSamples(result.topRows, 20);
  for (auto _ : state) {
    benchmark::DoNotOptimize(mineMinimalEps(positions, result.ranking.classLabels(), 20));
  }
}
BENCHMARK(BM_GlobalMining)->Unit(benchmark::kMillisecond);

// Counts the clubs delivered.
class ClubCount : public ClubSink {
 public:
  void deliver(const ClubRun&) override { ++clubs; }
  int clubs = 0;
};

// One method's clubs and their mining, without writing.
void BM_Method(benchmark::State& state) {
  const ClubMethod method = kClubMethods[state.range(0) - 1];
  for (auto _ : state) {
    ClubCount count;
    ClubSink* const sinks[] = {&count};
    runClubMethods(startUp(), std::span(&method, 1), sinks);
    benchmark::DoNotOptimize(count.clubs);
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
