#include "clubs/club_frame.h"

#include <algorithm>

#include "ranking/class_entropy.h"

namespace geneclub {

ClubContext::ClubContext(const GeneClubAnalyzer& analyzer, const DiscretisedSamples& samples,
                         const AnalysisSettings& settings)
    : samples(samples),
      allSamples(analyzer.sampleCount()),
      diseaseSamples(analyzer.sampleCount()),
      normalCount(static_cast<int>(
          std::count(analyzer.classLabels.begin(), analyzer.classLabels.end(), 0))),
      diseaseCount(analyzer.sampleCount() - normalCount),
      labelEntropy(classEntropy(analyzer.classLabels)),
      sampleWeight(1.0 / analyzer.sampleCount()),
      // The removed genes stand at the end of the ranking, so the pool leaves
      // them out, and also the lowest-ranked genes still in play.
      candidateCount(
          std::min(settings.poolBase - analyzer.incompleteGeneCount - analyzer.duplicateGeneCount,
                   analyzer.geneCount())),
      topGeneCount(settings.topGeneCount),
      divisionQuota(geneclub::divisionQuota(settings.topGeneCount)),
      gainlessStep(settings.gainlessClubStep),
      products(normalCount, diseaseCount) {
  for (int sample = 0; sample < analyzer.sampleCount(); ++sample) {
    allSamples.insert(sample);
    if (analyzer.classLabels[sample] != 0) diseaseSamples.insert(sample);
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
