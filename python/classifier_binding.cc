// The emerging-pattern classifier for Python: trained on a samples x genes
// float64 array exactly as one fold of the batch program's cross-validation
// trains (evaluation/ep_classifier.h), and applied to such arrays. Arrays of
// any strides (C or Fortran order, slices) are read in place; the engine
// keeps its own gene rows, so training copies the values once into them.
// A trained classifier pickles as its mined genes, split values, patterns
// and the training samples' tuples over the mined genes (from which its
// scorer is trained again), never its training values.

#include <pybind11/numpy.h>
#include <pybind11/stl.h>
#include <tbb/task_arena.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "data/analysis_settings.h"
#include "evaluation/cross_validation.h"
#include "evaluation/ep_classifier.h"
#include "evaluation/model_selection.h"
#include "python/engine_arrays.h"
#include "python/engine_module.h"
#include "ranking/sorted_genes.h"

namespace geneclub::python {
namespace {

namespace py = pybind11;

// The layout of a saved classifier; a different number is refused.
constexpr int kStateVersion = 2;

// The first (sample, gene) in row order whose value is NaN or infinite.
std::optional<std::pair<py::ssize_t, py::ssize_t>> firstNonFinite(const ValueArray& array) {
  const ValueView values = valueView(array);
  py::gil_scoped_release release;
  const py::ssize_t samples = values.shape(0), genes = values.shape(1);
  std::optional<std::pair<py::ssize_t, py::ssize_t>> first;
  if (array.strides(0) >= array.strides(1)) {
    for (py::ssize_t sample = 0; sample < samples && !first; ++sample) {
      for (py::ssize_t gene = 0; gene < genes; ++gene) {
        if (!std::isfinite(values(sample, gene))) {
          first.emplace(sample, gene);
          break;
        }
      }
    }
  } else {
    // Gene by gene in memory order: each gene's first such sample, of
    // which the earliest sample (then gene) is the first in row order.
    for (py::ssize_t gene = 0; gene < genes; ++gene) {
      const py::ssize_t end = first ? first->first : samples;
      for (py::ssize_t sample = 0; sample < end; ++sample) {
        if (!std::isfinite(values(sample, gene))) {
          first.emplace(sample, gene);
          break;
        }
      }
    }
  }
  return first;
}

template <typename T>
std::vector<T> fromArray(const py::array_t<T>& array) {
  const py::buffer_info info = array.request();
  require(info.ndim == 1, "a saved classifier holds one-dimensional arrays");
  const T* data = array.data();
  return std::vector<T>(data, data + info.size);
}

py::tuple classPatternsState(const ClassPatterns& patterns) {
  return py::make_tuple(patterns.tupleCount, toArray(patterns.samples), toArray(patterns.patterns),
                        toArray(patterns.supports), patterns.tidsetWords,
                        toArray(patterns.tidsets));
}

ClassPatterns classPatternsFromState(const py::tuple& state) {
  require(state.size() == 6, "not a saved classifier's patterns");
  ClassPatterns patterns;
  patterns.tupleCount = state[0].cast<int>();
  patterns.samples = fromArray(state[1].cast<py::array_t<int>>());
  patterns.patterns = fromArray(state[2].cast<py::array_t<ItemSet>>());
  patterns.supports = fromArray(state[3].cast<py::array_t<int>>());
  patterns.tidsetWords = state[4].cast<int>();
  patterns.tidsets = fromArray(state[5].cast<py::array_t<std::uint64_t>>());
  require(patterns.supports.size() == patterns.patterns.size() && patterns.tidsetWords >= 0 &&
              patterns.tidsets.size() ==
                  patterns.patterns.size() * static_cast<std::size_t>(patterns.tidsetWords),
          "a saved classifier's patterns do not fit together");
  return patterns;
}

class TrainedClassifier {
 public:
  explicit TrainedClassifier(EpClassifier classifier) : classifier_(std::move(classifier)) {}

  // Trains on every sample of `values` with labels 1 (class 1, "Disease")
  // and 0, mining the best min(topGenes, genes) genes and scoring by `rule`
  // ("sum", "normalised" or "top"); with "auto", the rule and K are chosen
  // from the training samples as a cross-validation fold chooses them,
  // with inner folds drawn from `seed`.
  static TrainedClassifier train(const ValueArray& array, const py::array_t<int>& labelArray,
                                 int topGenes, const std::string& rule, std::uint64_t seed,
                                 std::optional<int> threads) {
    const ValueView values = valueView(array);
    const std::vector<int> labels = fromArray(labelArray);
    const auto samples = static_cast<int>(values.shape(0));
    const auto genes = static_cast<int>(values.shape(1));
    require(samples >= 1 && genes >= 1, "training needs at least one sample and one gene");
    require(labels.size() == static_cast<std::size_t>(samples), "one label per sample is needed");
    require(std::all_of(labels.begin(), labels.end(), [](int l) { return l == 0 || l == 1; }),
            "the labels must be 0 or 1");
    require(topGenes >= 1 && topGenes <= kMaxTopGeneCount, "top must be 1 to 32");
    const std::optional<ScoringRule> fixedRule = parseScoringRule(rule);
    require(fixedRule || rule == "auto", "rule must be auto, sum, normalised or top");
    py::gil_scoped_release release;
    std::optional<EpClassifier> classifier;
    runWithThreads(threads, [&] {
      ExpressionMatrix matrix = geneRows(values);
      // Cuts only between different values, as the batch program makes them.
      EvaluationSettings settings;
      settings.rule = fixedRule;
      settings.topGeneCount = topGenes;
      const ClassifierCandidates candidates = classifierCandidates(settings, genes);
      ClassifierChoice choice = candidates.reference;
      if (!fixedRule) {
        std::vector<int> trainingSamples(samples);
        std::iota(trainingSamples.begin(), trainingSamples.end(), 0);
        choice = selectClassifier(matrix, SortedGenes(matrix), labels, trainingSamples, candidates,
                                  settings.cuts, seed)
                     .choice;
      }
      // Trained on the values taken over, which saves a copy and a sort.
      classifier.emplace(ExpressionData{std::move(matrix), labels}, choice.topGeneCount,
                         choice.rule, settings.cuts);
    });
    return TrainedClassifier(std::move(*classifier));
  }

  // The scores of each sample (row) of `values`: an array of rows (class 1
  // score, class 0 score), and the predicted labels.
  std::pair<py::array_t<double>, py::array_t<int>> scores(const ValueArray& array) const {
    const ValueView values = valueView(array);
    const std::vector<int>& genes = classifier_.genes();
    for (const int gene : genes) {
      require(gene < values.shape(1), "the values have fewer genes than the training values");
    }
    const py::ssize_t samples = values.shape(0);
    py::array_t<double> scores({samples, py::ssize_t{2}});
    py::array_t<int> predicted(samples);
    auto scoreOut = scores.mutable_unchecked<2>();
    auto predictedOut = predicted.mutable_unchecked<1>();
    py::gil_scoped_release release;
    std::vector<double> minedValues(genes.size());
    for (py::ssize_t sample = 0; sample < samples; ++sample) {
      for (std::size_t position = 0; position < genes.size(); ++position) {
        minedValues[position] = values(sample, genes[position]);
      }
      const EpScores sampleScores = classifier_.classifyMinedValues(minedValues);
      scoreOut(sample, 0) = sampleScores.scoreClassOne;
      scoreOut(sample, 1) = sampleScores.scoreClassZero;
      predictedOut(sample) = sampleScores.predictedLabel;
    }
    return {std::move(scores), std::move(predicted)};
  }

  py::tuple state() const {
    const MiningResult& patterns = classifier_.patterns();
    return py::make_tuple(
        kStateVersion, toArray(classifier_.genes()), toArray(classifier_.splitValues()),
        patterns.positions, classPatternsState(patterns.disease),
        classPatternsState(patterns.normal), toArray(classifier_.trainingTuples()),
        toArray(classifier_.trainingLabels()), static_cast<int>(classifier_.rule()));
  }

  // The training samples of class 0 and of class 1.
  std::array<int, 2> classSizes() const {
    std::array<int, 2> sizes = {};
    for (const int label : classifier_.trainingLabels()) ++sizes[label];
    return sizes;
  }

  static TrainedClassifier fromState(const py::tuple& state) {
    require(state.size() == 9 && state[0].cast<int>() == kStateVersion,
            "not a classifier saved by this version of geneclub");
    std::vector<int> genes = fromArray(state[1].cast<py::array_t<int>>());
    std::vector<double> splitValues = fromArray(state[2].cast<py::array_t<double>>());
    MiningResult patterns;
    patterns.positions = state[3].cast<int>();
    patterns.disease = classPatternsFromState(state[4].cast<py::tuple>());
    patterns.normal = classPatternsFromState(state[5].cast<py::tuple>());
    std::vector<SampleTuple> trainingTuples = fromArray(state[6].cast<py::array_t<SampleTuple>>());
    std::vector<int> trainingLabels = fromArray(state[7].cast<py::array_t<int>>());
    const int rule = state[8].cast<int>();
    require(genes.size() == splitValues.size() &&
                genes.size() == static_cast<std::size_t>(patterns.positions) &&
                patterns.positions <= kMaxTopGeneCount &&
                std::all_of(genes.begin(), genes.end(), [](int gene) { return gene >= 0; }),
            "a saved classifier's genes do not fit together");
    require(trainingTuples.size() == trainingLabels.size() &&
                std::all_of(trainingLabels.begin(), trainingLabels.end(),
                            [](int label) { return label == 0 || label == 1; }) &&
                rule >= 0 && rule < static_cast<int>(kScoringRules.size()),
            "a saved classifier's training tuples do not fit together");
    return TrainedClassifier(EpClassifier(
        std::move(genes), std::move(splitValues), std::move(patterns), std::move(trainingTuples),
        std::move(trainingLabels), static_cast<ScoringRule>(rule)));
  }

  const EpClassifier& classifier() const { return classifier_; }

 private:
  EpClassifier classifier_;
};

}  // namespace

void addClassifier(py::module_& module) {
  py::class_<TrainedClassifier>(module, "TrainedClassifier",
                                "An emerging-pattern classifier trained on an array.")
      .def("scores", &TrainedClassifier::scores, py::arg("values"),
           "The class 1 and class 0 scores of each row of a samples x genes array (an n x 2 "
           "array), and the predicted labels (1 or 0).")
      .def_property_readonly(
          "genes", [](const TrainedClassifier& t) { return toArray(t.classifier().genes()); },
          "The mined genes' columns in the training array, best first.")
      .def_property_readonly(
          "split_values",
          [](const TrainedClassifier& t) { return toArray(t.classifier().splitValues()); },
          "The mined genes' training split values.")
      .def_property_readonly(
          "rule",
          [](const TrainedClassifier& t) {
            return std::string(scoringRuleName(t.classifier().rule()));
          },
          "The scoring rule: the one given, or the one chosen.")
      .def_property_readonly(
          "class_sizes",
          [](const TrainedClassifier& t) {
            const std::array<int, 2> sizes = t.classSizes();
            return py::make_tuple(sizes[0], sizes[1]);
          },
          "The training samples of class 0 and of class 1.")
      .def_property_readonly(
          "pattern_counts",
          [](const TrainedClassifier& t) {
            const MiningResult& patterns = t.classifier().patterns();
            return py::make_tuple(patterns.normal.patternCount(), patterns.disease.patternCount());
          },
          "The minimal emerging patterns of class 0 and of class 1.")
      .def(py::pickle([](const TrainedClassifier& t) { return t.state(); },
                      &TrainedClassifier::fromState));
  module.def("train_classifier", &TrainedClassifier::train, py::arg("values"), py::arg("labels"),
             py::arg("top"), py::arg("rule"), py::arg("seed"), py::arg("threads"),
             "Trains on a samples x genes float64 array and labels 1 (class 1) and 0.");
  module.def("first_non_finite", &firstNonFinite, py::arg("values"),
             "The (row, column) of the first NaN or infinite value in row order, or None.");
}

}  // namespace geneclub::python
