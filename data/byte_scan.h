// Finds every position of one byte in a text, sixteen bytes at a time where
// the processor has SSE2 (every x86-64 processor does), byte by byte
// elsewhere. The table reader splits a line into fields with it: the work
// per field is a few instructions without a branch that depends on the
// field's length, which is what makes splitting fast.

#ifndef GENECLUB_DATA_BYTE_SCAN_H_
#define GENECLUB_DATA_BYTE_SCAN_H_

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace geneclub {

// Writes the positions of `byte` in `text`, in order, to the start of
// `positions` and returns their count; at least one more element follows
// them. The vector only grows (to a little more than the text's size), so
// that it is reused without refilling.
// REQUIRES: text.size() < 2^32.
inline std::size_t findAllBytes(std::string_view text, char byte,
                                std::vector<std::uint32_t>& positions) {
  constexpr std::size_t kBlock = 16;
  // Each block writes eight positions unconditionally (those past its count
  // are overwritten later), so the vector keeps that much room spare.
  constexpr std::size_t kUnconditional = 8;
  if (positions.size() < text.size() + kBlock + kUnconditional) {
    positions.resize(text.size() + kBlock + kUnconditional);
  }
  std::uint32_t* out = positions.data();
  const char* const data = text.data();
  std::size_t at = 0;
#if defined(__SSE2__)
  const __m128i pattern = _mm_set1_epi8(byte);
  for (; at + kBlock <= text.size(); at += kBlock) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
    // Bit i is set when byte i of the block matches.
    auto mask = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, pattern)));
    const int count = std::popcount(mask);
    const auto base = static_cast<std::uint32_t>(at);
    for (std::size_t i = 0; i < kUnconditional; ++i) {
      out[i] = base + static_cast<std::uint32_t>(std::countr_zero(mask));
      mask &= mask - 1;
    }
    for (int i = static_cast<int>(kUnconditional); i < count; ++i) {
      out[i] = base + static_cast<std::uint32_t>(std::countr_zero(mask));
      mask &= mask - 1;
    }
    out += count;
  }
#endif
  for (; at < text.size(); ++at) {
    if (data[at] == byte) *out++ = static_cast<std::uint32_t>(at);
  }
  return static_cast<std::size_t>(out - positions.data());
}

}  // namespace geneclub

#endif  // GENECLUB_DATA_BYTE_SCAN_H_
