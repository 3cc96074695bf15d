// The evaluation engine on the shapes it must handle quickly: leave-one-out
// classification with the 20 best genes and with the automatic choice of
// rule and K, and 1000 label permutations, on the real colon and prostate
// data sets (when ../shared/data holds them) and on synthetic data of the
// colon shape (62 x 2000) and of the prostate set's shape (102 x 12600).
// Runs on 2 threads, the cores of the project's machines.

#include <benchmark/benchmark.h>
#include <tbb/global_control.h>

#include <filesystem>
#include <variant>

#include "evaluation/cross_validation.h"
#include "evaluation/fold_assignment.h"
#include "evaluation/permutation_test.h"
#include "readers/class_assignment.h"
#include "readers/expression_table.h"
#include "readers/load_data.h"
#include "tools/synthetic_data.h"

namespace geneclub {
namespace {

// The batch program's default number of mined genes.
constexpr int kTopGenes = 20;
constexpr int kPermutations = 1000;
constexpr int kThreads = 2;

ExpressionData syntheticAnalysis(int samples, int genes, int normalSamples) {
  SyntheticShape shape;
  shape.samples = samples;
  shape.genes = genes;
  shape.normalSamples = normalSamples;
  shape.informativeStride = 0;
  const SyntheticData data = makeSyntheticData(shape);
  return {expressionValues(data), classLabels(data)};
}

std::filesystem::path sharedData() {
  return std::filesystem::path(GENECLUB_SOURCE_DIR) / ".." / "shared" / "data";
}

// The colon data set, or an analysis without genes when it is absent.
ExpressionData colonAnalysis() {
  // The colon data set: 2000 genes of 62 samples.
  auto loaded = loadData((sharedData() / "colonTumor.data").string(), 2000, 62);
  if (!std::holds_alternative<ExpressionData>(loaded)) return {};
  return std::move(std::get<ExpressionData>(loaded));
}

// The public prostate data set, or an analysis without genes when it is
// absent.
ExpressionData prostateAnalysis() {
  auto read = readExpressionTable((sharedData() / "public" / "prostate-singh.csv").string(),
                                  TableOptions{});
  if (!std::holds_alternative<ExpressionTable>(read)) return {};
  ExpressionTable table = std::move(std::get<ExpressionTable>(read));
  auto assigned = assignClasses(table.labels, "");
  if (!std::holds_alternative<ClassAssignment>(assigned)) return {};
  return {std::move(table.values), std::get<ClassAssignment>(assigned).classLabels};
}

// Shape 0: the real colon data; 1: synthetic colon shape (22 of 62 normal);
// 2: synthetic prostate shape (50 of 102 normal); 3: the real prostate data.
ExpressionData analysisOfShape(int shape) {
  switch (shape) {
    case 0:
      return colonAnalysis();
    case 1:
      return syntheticAnalysis(62, 2000, 22);
    case 2:
      return syntheticAnalysis(102, 12600, 50);
    default:
      return prostateAnalysis();
  }
}

void BM_LeaveOneOut(benchmark::State& state) {
  const ExpressionData analyzer = analysisOfShape(static_cast<int>(state.range(0)));
  if (analyzer.matrix.empty()) {
    state.SkipWithError("the shared data set is absent");
    return;
  }
  const std::vector<int> folds = assignFolds(FoldScheme{}, analyzer.labels, 0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(crossValidate(analyzer.matrix, analyzer.labels, folds,
                                           {.cuts = CutCandidates::kDistinctValues,
                                            .rule = ScoringRule::kSum,
                                            .topGeneCounts = {},
                                            .topGeneCount = kTopGenes,
                                            .seed = 1}));
  }
}
BENCHMARK(BM_LeaveOneOut)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();

// Leave-one-out with the automatic choice of rule and K (the batch program's
// default), whose inner cross-validations train 25 classifiers per fold.
void BM_AutomaticLeaveOneOut(benchmark::State& state) {
  const ExpressionData analyzer = analysisOfShape(static_cast<int>(state.range(0)));
  if (analyzer.matrix.empty()) {
    state.SkipWithError("the shared data set is absent");
    return;
  }
  const std::vector<int> folds = assignFolds(FoldScheme{}, analyzer.labels, 0);
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        crossValidate(analyzer.matrix, analyzer.labels, folds, EvaluationSettings{}));
  }
}
BENCHMARK(BM_AutomaticLeaveOneOut)
    ->Arg(0)
    ->Arg(3)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

void BM_Permutations(benchmark::State& state) {
  const ExpressionData analyzer = analysisOfShape(static_cast<int>(state.range(0)));
  if (analyzer.matrix.empty()) {
    state.SkipWithError("the shared data set is absent");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(permutationMaxGains(analyzer.matrix, analyzer.labels, kPermutations, 1,
                                                 CutCandidates::kDistinctValues));
  }
}
BENCHMARK(BM_Permutations)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace geneclub

int main(int argc, char** argv) {
  const tbb::global_control threads(tbb::global_control::max_allowed_parallelism,
                                    geneclub::kThreads);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
