#include "evaluation/random_streams.h"

namespace geneclub {
namespace {

// The increment of splitmix64's state: 2^64 divided by the golden ratio.
constexpr std::uint64_t kGoldenGamma = 0x9E3779B97F4A7C15;

// splitmix64's output function (Steele, Lea and Flood), applied to a state.
std::uint64_t splitmix64(std::uint64_t state) {
  state = (state ^ (state >> 30)) * 0xBF58476D1CE4E5B9;
  state = (state ^ (state >> 27)) * 0x94D049BB133111EB;
  return state ^ (state >> 31);
}

}  // namespace

std::mt19937_64 randomStream(std::uint64_t seed, std::uint64_t index) {
  return std::mt19937_64(splitmix64(seed + (index + 1) * kGoldenGamma));
}

std::uint64_t uniformBelow(std::mt19937_64& stream, std::uint64_t bound) {
  // 2^64 mod bound, computed in 64 bits: (2^64 - bound) mod bound.
  const std::uint64_t rejectBelow = (0 - bound) % bound;
  for (;;) {
    const std::uint64_t draw = stream();
    if (draw >= rejectBelow) return draw % bound;
  }
}

}  // namespace geneclub
