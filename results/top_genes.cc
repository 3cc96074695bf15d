#include "results/top_genes.h"

namespace geneclub {

void writeTopGenes(const GeneClubAnalyzer& analyzer, int topGeneCount, std::ostream& out) {
  const std::streamsize previousPrecision = out.precision(4);
  out << "***This is top " << topGeneCount
      << "  gene's gene number, split point and information gain.\n";
  out << "Seq#\tGene Number\tsplitValue\tinformation gain\n\n";
  for (int row = 0; row < analyzer.geneCount(); ++row) {
    out << row + 1 << "\t" << analyzer.geneNumbers[row] + 1 << "\t\t" << analyzer.splitValues[row]
        << "\t\t" << analyzer.informationGains[row] << "\n";
  }
  out.precision(previousPrecision);
}

}  // namespace geneclub
