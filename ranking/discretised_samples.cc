#include "ranking/discretised_samples.h"

#include <algorithm>

#include "data/dimensions.h"

namespace geneclub {

PositionSamples DiscretisedSamples::positionSamples(std::span<const int> rows) const {
  PositionSamples samples(kSampleCount, 0);
  const int positions = std::min<int>(static_cast<int>(rows.size()), kTopGeneCount);
  for (int position = 0; position < positions; ++position) {
    const GeneProfile bits = profiles_[rows[position]];
    for (int sample = 0; sample < kSampleCount; ++sample) {
      if ((bits >> sample) & 1) samples[sample] |= std::uint32_t{1} << position;
    }
  }
  return samples;
}

DiscretisedSamples GeneClubAnalyzer::discretiseSamples() const {
  return DiscretisedSamples(discretiseGenes(expressionMatrix.data(), 0, kGeneCount));
}

}  // namespace geneclub
