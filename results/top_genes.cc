#include "results/top_genes.h"

namespace geneclub {

void writeTopGenes(const RankedAnalysis& ranking, int topGeneCount, std::ostream& out) {
  const std::streamsize previousPrecision = out.precision(4);
  out << "***This is top " << topGeneCount
      << "  gene's gene number, split point and information gain.\n";
  out << "Seq#\tGene Number\tsplitValue\tinformation gain\n\n";
  for (int row = 0; row < ranking.geneCount(); ++row) {
    out << row + 1 << "\t" << ranking.geneNumber(row) + 1 << "\t\t" << ranking.splitValue(row)
        << "\t\t" << ranking.gain(row) << "\n";
  }
  out.precision(previousPrecision);
}

}  // namespace geneclub
