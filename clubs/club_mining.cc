#include "clubs/club_mining.h"

#include "data/output_file.h"
#include "ranking/discretised_samples.h"

namespace geneclub {

void writeMethodHeader(std::string label) {
  OutputFile epFile("EP.data", OutputFile::Mode::kAppend);
  epFile.stream() << "\nThis is the results gotten with " << label << " method";
}

void writeClubHeader(int topRow) {
  OutputFile epFile("EP.data", OutputFile::Mode::kAppend);
  epFile.stream() << "\n\nTop " << topRow + 1 << " gene's gene club's EP patterns\n";
}

// The club's samples: bit j of a sample is its bit in the club's j-th row.
void GeneClubAnalyzer::runClubEpMining(int topRow, const std::vector<int>& club,
                                       const DiscretisedSamples& samples) const {
  const PositionSamples clubSamples = samples.positionSamples(club);
  writeClubHeader(topRow);
  mineMinimalEps(clubSamples);
}

}  // namespace geneclub
