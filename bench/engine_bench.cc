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
#include <numeric>
#include <sstream>

#include "clubs/club_runs.h"
#include "ranking/discretised_samples.h"
#include "ranking/start_up.h"
#include "results/ep_report.h"
#include "tools/synthetic_data.h"

namespace geneclub {
namespace {

GeneClubAnalyzer syntheticAnalysis(int samples, int genes) {
  SyntheticShape shape;
  shape.samples = samples;
  shape.genes = genes;
  shape.normalSamples = samples * 11 / 31;  // the colon data's share, 22 of 62
  shape.informativeGenes = std::max(32, genes / 100);
  shape.informativeStride = 0;
  const SyntheticData data = makeSyntheticData(shape);
  return GeneClubAnalyzer(expressionValues(data), classLabels(data));
}

double peakMegabytes() {
  struct rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

// Start-up and the four methods, the EP files written to a temporary folder.
void runWholeAnalysis(GeneClubAnalyzer analyzer, const std::filesystem::path& folder) {
  std::ostringstream console;
  rankAndCleanGenes(analyzer, console, CutCandidates::kDistinctValues);
  AnalysisSettings settings;
  settings.topGeneCount = 20;
  settings.poolBase = defaultPoolBase(analyzer.geneCount());
  const DiscretisedSamples samples(analyzer);
  const ClubContext context(analyzer, samples, settings);
  OutputFailures failures(std::cerr);
  EpReport report(folder, EpFileMode::kFresh, settings.strongDiseaseSupport,
                  settings.strongNormalSupport, failures);
  std::vector<int> topRows(settings.topGeneCount);
  std::iota(topRows.begin(), topRows.end(), 0);
  report.writeGlobalHeader(settings.topGeneCount);
  report.writeBlock(mineMinimalEps(samples.positionSamples(topRows, settings.topGeneCount),
                                   analyzer.classLabels, settings.topGeneCount),
                    topRows);
  for (const ClubMethod method : kClubMethods) {
    report.writeMethodHeader(methodLabel(method));
    runClubMethod(method, context, analyzer.classLabels, [&](const ClubRun& run) {
      report.writeClubHeader(run.topRow);
      report.writeBlock(run.patterns, run.club);
    });
  }
}

void BM_WholeAnalysis(benchmark::State& state) {
  const int samples = static_cast<int>(state.range(0));
  const int genes = static_cast<int>(state.range(1));
  const GeneClubAnalyzer data = syntheticAnalysis(samples, genes);
  std::string folder = (std::filesystem::temp_directory_path() / "geneclub-bench-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) std::abort();
  for (auto _ : state) {
    state.PauseTiming();
    GeneClubAnalyzer copy = data;
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
