#include "clubs/club_frame.h"

#include <algorithm>

#include "ranking/class_entropy.h"

namespace geneclub {

ClubContext::ClubContext(const RankedAnalysis& analysis, const DiscretisedSamples& samples,
                         const AnalysisSettings& settings)
    : samples(samples),
      allSamples(analysis.sampleCount()),
      diseaseSamples(analysis.sampleCount()),
      normalCount(static_cast<int>(
          std::count(analysis.classLabels().begin(), analysis.classLabels().end(), 0))),
      diseaseCount(analysis.sampleCount() - normalCount),
      labelEntropy(classEntropy(analysis.classLabels())),
      sampleWeight(1.0 / analysis.sampleCount()),
      candidateCount(
          clubCandidateCount(settings, analysis.cleaning().removedGenes(), analysis.geneCount())),
      topGeneCount(settings.topGeneCount),
      divisionQuota(geneclub::divisionQuota(settings.topGeneCount)),
      gainlessStep(settings.gainlessClubStep),
      products(normalCount, diseaseCount) {
  for (int sample = 0; sample < analysis.sampleCount(); ++sample) {
    allSamples.insert(sample);
    if (analysis.classLabels()[sample] != 0) diseaseSamples.insert(sample);
  }
}

Club::Club(int topRow, const ClubContext& context)
    : candidateCount_(context.candidateCount), used_(context.samples.rowCount(), 0), rows_{topRow} {
  used_[topRow] = 1;
}

void Club::addMember(int row) {
  used_[row] = 1;
  rows_.push_back(row);
}

std::vector<double> candidateGains(const ClubContext& context, const RefinementGain& gainOf) {
  std::vector<double> gains(std::max(context.candidateCount, 0), 0.0);
  for (int row = 0; row < context.candidateCount; ++row) gains[row] = gainOf(row);
  return gains;
}

}  // namespace geneclub
