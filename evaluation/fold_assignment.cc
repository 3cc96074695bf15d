#include "evaluation/fold_assignment.h"

#include <charconv>
#include <numeric>

#include "evaluation/random_streams.h"

namespace geneclub {
namespace {

constexpr std::string_view kLeaveOneOutName = "loo";
constexpr std::string_view kFoldPrefix = "kfold:";

}  // namespace

std::optional<FoldScheme> parseFoldScheme(std::string_view given) {
  // Only ASCII letters change case, the same in every locale.
  std::string text(given);
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  if (text == kLeaveOneOutName) return FoldScheme{};
  if (!text.starts_with(kFoldPrefix)) return std::nullopt;
  const std::string_view digits = std::string_view(text).substr(kFoldPrefix.size());
  // from_chars accepts a leading minus sign; a fold count has none.
  if (digits.empty() || digits.front() == '-') return std::nullopt;
  int folds = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), folds);
  if (error != std::errc() || end != digits.data() + digits.size() || folds < 2) {
    return std::nullopt;
  }
  return FoldScheme{folds};
}

std::string foldSchemeName(FoldScheme scheme) {
  if (scheme.leaveOneOut()) return std::string(kLeaveOneOutName);
  return std::string(kFoldPrefix) + std::to_string(scheme.foldCount);
}

std::vector<int> assignFolds(FoldScheme scheme, std::span<const int> labels, std::uint64_t seed) {
  const int samples = static_cast<int>(labels.size());
  std::vector<int> foldOf(samples);
  if (scheme.leaveOneOut()) {
    std::iota(foldOf.begin(), foldOf.end(), 1);
    return foldOf;
  }
  std::mt19937_64 stream = randomStream(seed, kFoldAssignmentStream);
  int nextFold = 0;
  for (const int label : {1, 0}) {
    std::vector<int> members;
    for (int sample = 0; sample < samples; ++sample) {
      if (labels[sample] == label) members.push_back(sample);
    }
    shuffleInPlace(std::span(members), stream);
    for (const int sample : members) {
      foldOf[sample] = nextFold + 1;
      nextFold = (nextFold + 1) % scheme.foldCount;
    }
  }
  return foldOf;
}

}  // namespace geneclub
