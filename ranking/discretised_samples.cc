#include "ranking/discretised_samples.h"

#include <tbb/parallel_for.h>

#include <algorithm>

namespace geneclub {

DiscretisedSamples::DiscretisedSamples(const RankedAnalysis& analysis, int rowCount)
    : rowCount_(rowCount),
      sampleCount_(analysis.sampleCount()),
      wordsPerRow_(wordsFor(analysis.sampleCount())),
      bits_(static_cast<std::size_t>(rowCount_) * wordsPerRow_) {
  // Rows in parallel, each chunk into its own place.
  tbb::parallel_for(
      tbb::blocked_range<int>(0, rowCount_), [&](const tbb::blocked_range<int>& rows) {
        const std::vector<std::uint64_t> chunk = analysis.discretiseRows(rows.begin(), rows.size());
        std::copy(chunk.begin(), chunk.end(),
                  bits_.begin() + static_cast<std::ptrdiff_t>(rows.begin()) * wordsPerRow_);
      });
}

PositionSamples DiscretisedSamples::positionSamples(std::span<const int> rows,
                                                    int positions) const {
  PositionSamples samples(sampleCount_, 0);
  const int used = std::min(static_cast<int>(rows.size()), positions);
  for (int position = 0; position < used; ++position) {
    const std::span<const std::uint64_t> bits = rowBits(rows[position]);
    for (int w = 0; w < wordsPerRow_; ++w) {
      for (std::uint64_t rest = bits[w]; rest != 0; rest &= rest - 1) {
        samples[w * kWordBits + std::countr_zero(rest)] |= std::uint32_t{1} << position;
      }
    }
  }
  return samples;
}

}  // namespace geneclub
