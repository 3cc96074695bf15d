// Byte searches over a whole text, sixteen bytes at a time where the
// processor has SSE2 (every x86-64 processor does), byte by byte elsewhere.
// The table reader splits a line into fields with them: the work per field
// is a few instructions without a branch that depends on the field's
// length, which is what makes splitting fast.

#ifndef GENECLUB_READERS_BYTE_SCAN_H_
#define GENECLUB_READERS_BYTE_SCAN_H_

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace geneclub {

// Writes the positions of `byte` in `text`, in order, to `positions` from
// index `first` on and returns their count; at least one more element
// follows them. The vector only grows, by half again as needed, so that it
// is reused without refilling and stays in proportion to the count.
// REQUIRES: text.size() < 2^32.
inline std::size_t findAllBytes(std::string_view text, char byte,
                                std::vector<std::uint32_t>& positions, std::size_t first) {
  constexpr std::size_t kBlock = 16;
  // Each block writes eight positions unconditionally (those past its count
  // are overwritten later), so the vector keeps that much room spare.
  constexpr std::size_t kUnconditional = 8;
  constexpr std::size_t kSpare = kBlock + kUnconditional;
  if (positions.size() < first + kSpare) positions.resize(first + kSpare);
  std::uint32_t* start = positions.data() + first;
  std::uint32_t* out = start;
  // Where the room for one more block ends.
  std::uint32_t* limit = positions.data() + positions.size() - kSpare;
  const auto grow = [&] {
    const std::size_t found = static_cast<std::size_t>(out - start);
    positions.resize(positions.size() + positions.size() / 2 + kSpare);
    start = positions.data() + first;
    out = start + found;
    limit = positions.data() + positions.size() - kSpare;
  };
  const char* const data = text.data();
  std::size_t at = 0;
#if defined(__SSE2__)
  const __m128i pattern = _mm_set1_epi8(byte);
  for (; at + kBlock <= text.size(); at += kBlock) {
    if (out > limit) [[unlikely]] {
      grow();
    }
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
    if (data[at] == byte) {
      if (out > limit) grow();
      *out++ = static_cast<std::uint32_t>(at);
    }
  }
  return static_cast<std::size_t>(out - start);
}

// The number of bytes of `text` equal to `byte`.
inline std::size_t countByte(std::string_view text, char byte) {
  const char* const data = text.data();
  std::size_t count = 0, at = 0;
#if defined(__SSE2__)
  constexpr std::size_t kBlock = 16;
  const __m128i pattern = _mm_set1_epi8(byte);
  for (; at + kBlock <= text.size(); at += kBlock) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
    count += static_cast<std::size_t>(std::popcount(
        static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, pattern)))));
  }
#endif
  for (; at < text.size(); ++at) count += data[at] == byte;
  return count;
}

// What one pass over a text finds: any of three chosen bytes, and any byte
// outside ASCII.
struct ByteScan {
  bool holdsChosenByte = false;
  bool holdsNonAscii = false;
};

inline ByteScan scanBytes(std::string_view text, char first, char second, char third) {
  const char* const data = text.data();
  ByteScan scan;
  std::size_t at = 0;
#if defined(__SSE2__)
  constexpr std::size_t kBlock = 16;
  const __m128i firstPattern = _mm_set1_epi8(first);
  const __m128i secondPattern = _mm_set1_epi8(second);
  const __m128i thirdPattern = _mm_set1_epi8(third);
  __m128i hits = _mm_setzero_si128();
  __m128i bytes = _mm_setzero_si128();
  for (; at + kBlock <= text.size(); at += kBlock) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + at));
    bytes = _mm_or_si128(bytes, block);
    hits = _mm_or_si128(hits, _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, firstPattern),
                                                        _mm_cmpeq_epi8(block, secondPattern)),
                                           _mm_cmpeq_epi8(block, thirdPattern)));
  }
  // movemask gathers each byte's top bit: set in a match, and in a byte
  // outside ASCII.
  scan.holdsChosenByte = _mm_movemask_epi8(hits) != 0;
  scan.holdsNonAscii = _mm_movemask_epi8(bytes) != 0;
#endif
  for (; at < text.size(); ++at) {
    const char c = data[at];
    scan.holdsChosenByte |= c == first || c == second || c == third;
    scan.holdsNonAscii |= static_cast<unsigned char>(c) >= 0x80;
  }
  return scan;
}

}  // namespace geneclub

#endif  // GENECLUB_READERS_BYTE_SCAN_H_
