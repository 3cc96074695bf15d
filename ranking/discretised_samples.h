// DiscretisedSamples is the data set in one-bit form: for every sample and
// every matrix row, whether the sample's value lies strictly above the row's
// split value (a value equal to the split counts as not above). It is a
// snapshot: later changes to the matrix or the splits do not alter it.
//
// The bits are stored by row, one 62-bit profile per row, because every user
// asks for one row's bits over all samples at once.

#ifndef GENECLUB_RANKING_DISCRETISED_SAMPLES_H_
#define GENECLUB_RANKING_DISCRETISED_SAMPLES_H_

#include <span>
#include <vector>

#include "data/gene_club_analyzer.h"

namespace geneclub {

class DiscretisedSamples {
 public:
  explicit DiscretisedSamples(std::vector<GeneProfile> profiles) : profiles_(std::move(profiles)) {}

  // Bit s is set when sample s lies above row's split value.
  // REQUIRES: 0 <= row < number of rows.
  GeneProfile profile(int row) const { return profiles_[row]; }

  // The samples over the gene positions of a mining run: bit j of entry s is
  // sample s's bit in row rows[j], for the first 20 positions (the positions
  // a mining run reads); positions without a row stay 0.
  // REQUIRES: every entry of rows is a row of this set.
  PositionSamples positionSamples(std::span<const int> rows) const;

 private:
  std::vector<GeneProfile> profiles_;
};

}  // namespace geneclub

#endif  // GENECLUB_RANKING_DISCRETISED_SAMPLES_H_
