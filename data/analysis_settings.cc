#include "data/analysis_settings.h"

#include <algorithm>

namespace geneclub {
namespace {

// K when none is chosen: the interactive program's 20.
constexpr int kDefaultTopGeneCount = 20;

}  // namespace

AnalysisSettings settingsForData(int geneCount, std::span<const int> classLabels,
                                 const SettingsChoice& choice) {
  AnalysisSettings settings;
  settings.topGeneCount = choice.topGeneCount.value_or(std::min(kDefaultTopGeneCount, geneCount));
  settings.poolBase = choice.poolBase.value_or(defaultPoolBase(geneCount));
  settings.cuts = CutCandidates::kDistinctValues;
  settings.gainlessClubStep = GainlessClubStep::kAddNothing;
  const int samples = static_cast<int>(classLabels.size());
  const int diseaseSize = static_cast<int>(std::count(classLabels.begin(), classLabels.end(), 1));
  settings.strongDiseaseSupport = diseaseSize - 1;
  settings.strongNormalSupport = samples - diseaseSize - 1;
  return settings;
}

}  // namespace geneclub
