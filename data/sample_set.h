// SampleSet is a set of samples of one data set, one bit per sample in
// 64-bit words, for data sets of any number of samples. Samples are the
// columns of the expression matrix; sample s is bit s % 64 of word s / 64.
// Bits at or beyond the sample count are always clear, so that counts,
// equality and hashing need no masking.

#ifndef GENECLUB_DATA_SAMPLE_SET_H_
#define GENECLUB_DATA_SAMPLE_SET_H_

#include <bit>
#include <cstdint>
#include <span>
#include <vector>

namespace geneclub {

// Bits per word of a sample set.
inline constexpr int kWordBits = 64;

// Words needed for `bits` bits.
inline int wordsFor(int bits) { return (bits + kWordBits - 1) / kWordBits; }

// The number of set bits in `words`.
inline int countBits(std::span<const std::uint64_t> words) {
  int count = 0;
  for (const std::uint64_t word : words) count += std::popcount(word);
  return count;
}

class SampleSet {
 public:
  SampleSet() = default;

  // The empty set over sampleCount samples.
  explicit SampleSet(int sampleCount) : words_(wordsFor(sampleCount), 0) {}

  // The set held by `words`.
  explicit SampleSet(std::span<const std::uint64_t> words) : words_(words.begin(), words.end()) {}

  // REQUIRES: 0 <= sample < the sample count.
  void insert(int sample) {
    words_[sample / kWordBits] |= std::uint64_t{1} << (sample % kWordBits);
  }
  bool contains(int sample) const {
    return (words_[sample / kWordBits] >> (sample % kWordBits)) & 1;
  }

  int size() const { return countBits(words_); }
  bool empty() const {
    for (const std::uint64_t word : words_) {
      if (word != 0) return false;
    }
    return true;
  }

  std::span<const std::uint64_t> words() const { return words_; }
  std::span<std::uint64_t> words() { return words_; }

  // The samples in ascending order.
  std::vector<int> members() const {
    std::vector<int> samples;
    for (std::size_t w = 0; w < words_.size(); ++w) {
      for (std::uint64_t rest = words_[w]; rest != 0; rest &= rest - 1) {
        samples.push_back(static_cast<int>(w) * kWordBits + std::countr_zero(rest));
      }
    }
    return samples;
  }

  friend bool operator==(const SampleSet&, const SampleSet&) = default;

 private:
  std::vector<std::uint64_t> words_;
};

}  // namespace geneclub

#endif  // GENECLUB_DATA_SAMPLE_SET_H_
