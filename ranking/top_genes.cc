// "topGenes.data": the ranking of all 2000 genes, rewritten at every run.

#include <iostream>

#include "data/dimensions.h"
#include "data/gene_club_analyzer.h"
#include "data/output_file.h"
#include "data/process_state.h"

namespace geneclub {

// Lines read: ranking place, 1-based load-order gene number, split value and
// gain, the two numbers with 4 significant digits in the stream's general
// notation (1235, 0.5, 0, 1.235e+04).
void GeneClubAnalyzer::writeTopGenes() const {
  OutputFile file("topGenes.data", OutputFile::Mode::kReplace);
  std::ostream& out = file.stream();
  out.precision(4);
  out << "***This is top " << kTopGeneCount
      << "  gene's gene number, split point and information gain.\n";
  out << "Seq#\tGene Number\tsplitValue\tinformation gain\n\n";
  for (int row = 0; row < kGeneCount; ++row) {
    out << row + 1 << "\t" << geneNumbers[row] + 1 << "\t\t" << splitValues[row] << "\t\t"
        << informationGains[row] << "\n";
  }
  file.close();
  // The notice has always named the file without its final "s".
  std::cout << "***Top " << kTopGeneCount << " genes have been written into file topGene.data\n";
}

}  // namespace geneclub
