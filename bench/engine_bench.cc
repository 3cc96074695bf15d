// The engine on data sets of many shapes: the start-up analysis (ranking,
// cleaning, the global mining run) and all four gene-club methods with their
// mining and the EP report, as the batch program runs them. Synthetic data
// (tools/synthetic_data.h) of the public data sets' shapes and of larger
// ones; the counter "peak_MB" is the process's peak resident memory so far.
//
// Threads: all cores unless --benchmark_filter'ed runs set
// GENECLUB_BENCH_THREADS.

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <tbb/global_control.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

#include "analysis/club_methods.h"
#include "analysis/start_up.h"
#include "results/ep_sections.h"
#include "tools/synthetic_data.h"

namespace geneclub {
namespace {

ExpressionData syntheticAnalysis(int samples, int genes) {
  SyntheticShape shape;
  shape.samples = samples;
  shape.genes = genes;
  shape.normalSamples = samples * 11 / 31;  // the colon data's share, 22 of 62
  shape.informativeGenes = std::max(32, genes / 100);
  shape.informativeStride = 0;
  const SyntheticData data = makeSyntheticData(shape);
  return {expressionValues(data), classLabels(data)};
}

double peakMegabytes() {
  struct rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

// Start-up and the four methods, the EP files written to a temporary folder.
void runWholeAnalysis(ExpressionData data, const std::filesystem::path& folder) {
  AnalysisSettings settings;
  settings.topGeneCount = 20;
  settings.poolBase = defaultPoolBase(static_cast<int>(data.matrix.size()));
  const StartUpResult startUp = runStartUp(std::move(data), settings);
  OutputFailures failures(std::cerr);
  EpReport report(folder, EpFileMode::kFresh, settings.strongDiseaseSupport,
                  settings.strongNormalSupport, failures);
  writeGlobalSection(report, startUp);
  EpMethodSections sections(report, settings.topGeneCount);
  ClubSink* const sinks[] = {&sections};
  runClubMethods(startUp, kClubMethods, sinks);
}

void BM_WholeAnalysis(benchmark::State& state) {
  const int samples = static_cast<int>(state.range(0));
  const int genes = static_cast<int>(state.range(1));
  const ExpressionData data = syntheticAnalysis(samples, genes);
  std::string folder = (std::filesystem::temp_directory_path() / "geneclub-bench-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) std::abort();
  for (auto _ : state) {
    state.PauseTiming();
    ExpressionData copy = data;
    state.ResumeTiming();
    runWholeAnalysis(std::move(copy), folder);
  }
  std::filesystem::remove_all(folder);
  state.counters["peak_MB"] = peakMegabytes();
}
// Samples x genes: the public leukemia and prostate sets' shapes, a grid for
// the growth with genes and samples, and a large modern set.
BENCHMARK(BM_WholeAnalysis)
    ->Args({72, 7129})
    ->Args({102, 12600})
    ->Args({62, 2000})
    ->Args({62, 20000})
    ->Args({200, 2000})
    ->Args({200, 20000})
    ->Args({1000, 2000})
    ->Args({1000, 20000})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace
}  // namespace geneclub

int main(int argc, char** argv) {
  std::unique_ptr<tbb::global_control> threads;
  if (const char* count = std::getenv("GENECLUB_BENCH_THREADS")) {
    threads = std::make_unique<tbb::global_control>(tbb::global_control::max_allowed_parallelism,
                                                    std::atoi(count));
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
