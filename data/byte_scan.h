// Walks through the positions of two chosen bytes in a text, sixteen bytes
// at a time where the processor has SSE2 (every x86-64 processor does), byte
// by byte elsewhere. The table reader finds field ends with it: one compare
// per sixteen bytes, and a branch per block rather than one per field.

#ifndef GENECLUB_DATA_BYTE_SCAN_H_
#define GENECLUB_DATA_BYTE_SCAN_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace geneclub {

class ByteScanner {
 public:
  // Starts at the beginning of `text`, which must outlive the scanner.
  ByteScanner(std::string_view text, char first, char second)
      : text_(text), first_(first), second_(second) {
#if defined(__SSE2__)
    firstPattern_ = _mm_set1_epi8(first);
    secondPattern_ = _mm_set1_epi8(second);
#endif
    loadBlock();
  }

  // Goes on from `position`: later calls of next() report no earlier byte.
  // REQUIRES: position <= text.size().
  void skipTo(std::size_t position) {
    block_ = position;
    loadBlock();
  }

  // The next position that holds one of the two bytes; text.size() when
  // there is none left.
  std::size_t next() {
    while (mask_ == 0) {
      if (block_ + kBlock >= text_.size()) return text_.size();
      block_ += kBlock;
      loadBlock();
    }
    const std::size_t position = block_ + static_cast<std::size_t>(__builtin_ctz(mask_));
    mask_ &= mask_ - 1;
    return position;
  }

 private:
  static constexpr std::size_t kBlock = 16;

  // Sets bit i of mask_ when byte block_ + i is one of the two.
  void loadBlock() {
    const char* const data = text_.data() + block_;
#if defined(__SSE2__)
    if (block_ + kBlock <= text_.size()) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
      const __m128i hits =
          _mm_or_si128(_mm_cmpeq_epi8(bytes, firstPattern_), _mm_cmpeq_epi8(bytes, secondPattern_));
      mask_ = static_cast<std::uint32_t>(_mm_movemask_epi8(hits));
      return;
    }
#endif
    mask_ = 0;
    const std::size_t count = std::min(kBlock, text_.size() - block_);
    for (std::size_t i = 0; i < count; ++i) {
      if (data[i] == first_ || data[i] == second_) mask_ |= 1u << i;
    }
  }

  std::string_view text_;
  char first_, second_;
#if defined(__SSE2__)
  __m128i firstPattern_, secondPattern_;
#endif
  std::size_t block_ = 0;   // start of the block that mask_ covers
  std::uint32_t mask_ = 0;  // the block's matches not yet reported
};

}  // namespace geneclub

#endif  // GENECLUB_DATA_BYTE_SCAN_H_
