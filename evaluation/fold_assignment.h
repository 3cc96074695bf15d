// Which fold of a cross-validation holds out each sample. Leave-one-out
// holds out every sample alone; stratified k-fold gives every fold its share
// of each class, drawn at random but the same for a seed on every platform.
//
// Stratified k-fold with F folds and seed S, exactly: the samples of class 1
// (in sample order) are shuffled with shuffleInPlace on the stream
// randomStream(S, kFoldAssignmentStream), then the samples of class 0 with
// the same stream continuing. The shuffled class-1 samples are dealt to folds
// 1, 2, ..., F, 1, 2, ... in turn, and the class-0 samples continue the turn
// at the fold after the one that received the last class-1 sample. So each
// fold's count of either class, and its size, differ from any other fold's by
// at most one.

#ifndef GENECLUB_EVALUATION_FOLD_ASSIGNMENT_H_
#define GENECLUB_EVALUATION_FOLD_ASSIGNMENT_H_

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace geneclub {

// The stream index of the fold assignment, beyond every permutation's index
// (permutations use 0, 1, 2, ...), so the two never share a stream.
inline constexpr std::uint64_t kFoldAssignmentStream = std::numeric_limits<std::uint64_t>::max();

// How the samples are divided: foldCount 0 means leave-one-out, otherwise
// stratified k-fold with that many folds.
struct FoldScheme {
  int foldCount = 0;

  bool leaveOneOut() const { return foldCount == 0; }
};

// Reads "loo" or "kfold:F" with F a decimal integer of at least 2, in any
// letter case ("LOO", "KFold:5"); nullopt for anything else.
std::optional<FoldScheme> parseFoldScheme(std::string_view text);

// The scheme as parseFoldScheme reads it: "loo" or "kfold:F".
std::string foldSchemeName(FoldScheme scheme);

// The fold of each sample, in sample order, numbered from 1. Leave-one-out
// gives sample s (0-based) fold s + 1 and ignores the seed.
// REQUIRES: every label is 0 or 1; for k-fold, foldCount <= labels.size().
std::vector<int> assignFolds(FoldScheme scheme, std::span<const int> labels, std::uint64_t seed);

}  // namespace geneclub

#endif  // GENECLUB_EVALUATION_FOLD_ASSIGNMENT_H_
