// Random numbers that are the same on every platform and for every number of
// threads. Each random task (a permutation of the labels, the assignment of
// samples to folds) draws from its own stream, derived from the run's seed
// and the task's index alone, so tasks may run in any order on any thread.
//
// A stream is std::mt19937_64 seeded with splitmix64(seed + (index + 1) *
// 0x9E3779B97F4A7C15): the (index + 1)-th output of a splitmix64 generator
// started at `seed`. Both generators are fully defined by their algorithms;
// bounded integers and shuffles are drawn here rather than through the
// standard distributions, whose results differ between standard libraries.

#ifndef GENECLUB_EVALUATION_RANDOM_STREAMS_H_
#define GENECLUB_EVALUATION_RANDOM_STREAMS_H_

#include <cstdint>
#include <random>
#include <span>
#include <utility>

namespace geneclub {

// The stream of the task numbered `index` of a run seeded with `seed`.
std::mt19937_64 randomStream(std::uint64_t seed, std::uint64_t index);

// A uniform integer in [0, bound), by rejection: draws below 2^64 mod bound
// are discarded so that every result is equally likely, then the draw is
// reduced modulo bound.
// REQUIRES: bound >= 1.
std::uint64_t uniformBelow(std::mt19937_64& stream, std::uint64_t bound);

// Fisher-Yates shuffle: for i from the last index down to 1, exchanges entry
// i with entry uniformBelow(stream, i + 1).
template <typename Item>
void shuffleInPlace(std::span<Item> items, std::mt19937_64& stream) {
  for (std::size_t i = items.size(); i-- > 1;) {
    std::swap(items[i], items[uniformBelow(stream, i + 1)]);
  }
}

}  // namespace geneclub

#endif  // GENECLUB_EVALUATION_RANDOM_STREAMS_H_
