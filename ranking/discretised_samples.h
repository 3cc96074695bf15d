// DiscretisedSamples is the data set in one-bit form: for every matrix row
// and every sample, whether the sample's value lies strictly above the row's
// split value (a value equal to the split counts as not above). It is a
// snapshot: later changes to the matrix or the splits do not alter it.
//
// The bits are stored by row, as a sample set per row, because every user
// asks for one row's bits over all samples at once.

#ifndef GENECLUB_RANKING_DISCRETISED_SAMPLES_H_
#define GENECLUB_RANKING_DISCRETISED_SAMPLES_H_

#include <cstdint>
#include <span>
#include <vector>

#include "data/ranked_analysis.h"
#include "data/sample_set.h"

namespace geneclub {

// The samples of one pattern-mining run: entry s holds bit j when sample s
// lies strictly above the split value of the run's j-th gene.
using PositionSamples = std::vector<std::uint32_t>;

class DiscretisedSamples {
 public:
  // No rows and no samples.
  DiscretisedSamples() = default;

  // The samples of the analysis in its current row order: of every row, or
  // of the first rowCount rows.
  // REQUIRES: 0 <= rowCount <= analysis.geneCount().
  explicit DiscretisedSamples(const RankedAnalysis& analysis)
      : DiscretisedSamples(analysis, analysis.geneCount()) {}
  DiscretisedSamples(const RankedAnalysis& analysis, int rowCount);

  int rowCount() const { return rowCount_; }
  int sampleCount() const { return sampleCount_; }
  int wordsPerRow() const { return wordsPerRow_; }

  // The row's bits: bit s set when sample s lies above the row's split.
  // REQUIRES: 0 <= row < rowCount().
  std::span<const std::uint64_t> rowBits(int row) const {
    return std::span(bits_).subspan(static_cast<std::size_t>(row) * wordsPerRow_, wordsPerRow_);
  }

  bool above(int row, int sample) const {
    return (rowBits(row)[sample / kWordBits] >> (sample % kWordBits)) & 1;
  }

  // The samples over the gene positions of a mining run: bit j of entry s is
  // sample s's bit in row rows[j], for the first `positions` entries of rows;
  // positions without a row stay 0.
  // REQUIRES: every entry of rows is a row of this set; positions <= 32.
  PositionSamples positionSamples(std::span<const int> rows, int positions) const;

 private:
  int rowCount_ = 0;
  int sampleCount_ = 0;
  int wordsPerRow_ = 0;
  std::vector<std::uint64_t> bits_;
};

}  // namespace geneclub

#endif  // GENECLUB_RANKING_DISCRETISED_SAMPLES_H_
