#include "results/result_columns.h"

#include <limits>

#include "results/result_tables.h"
#include "results/tsv_text.h"

namespace geneclub {
namespace {

// The gene's entry of a list by gene number; "" when the list is empty.
std::string entryOf(const std::vector<std::string>& perGene, int gene) {
  return perGene.empty() ? std::string() : tsvField(perGene[gene]);
}

// The value at index, NaN when there are no values.
double optionalValue(std::span<const double> values, int index) {
  return values.empty() ? std::numeric_limits<double>::quiet_NaN() : values[index];
}

}  // namespace

std::string_view geneStatusName(GeneStatus status) {
  switch (status) {
    case GeneStatus::kInPlay:
      return "in_play";
    case GeneStatus::kIncomplete:
      return "incomplete";
    case GeneStatus::kDuplicate:
      return "duplicate";
  }
  return "";
}

GeneColumns genesColumns(const RankedAnalysis& ranking, const DataNames& names,
                         std::span<const double> pValues, std::span<const double> foldFrequency) {
  GeneColumns columns;
  const std::vector<double> gains = tableGains(ranking);
  for (int row = 0; row < ranking.geneCount(); ++row) {
    const int gene = ranking.geneNumber(row);
    const int duplicateOf = ranking.duplicateOf(gene);
    columns.rank.push_back(row + 1);
    columns.gene.push_back(tsvField(names.genes[gene]));
    columns.column.push_back(names.geneColumns[gene]);
    columns.split.push_back(ranking.splitValue(row));
    columns.gain.push_back(gains[row]);
    columns.status.emplace_back(geneStatusName(ranking.status(gene)));
    columns.duplicateOf.push_back(duplicateOf < 0 ? std::string()
                                                  : tsvField(names.genes[duplicateOf]));
    columns.pFwer.push_back(optionalValue(pValues, row));
    columns.foldFrequency.push_back(optionalValue(foldFrequency, gene));
    columns.symbol.push_back(entryOf(names.geneSymbols, gene));
    columns.description.push_back(entryOf(names.geneDescriptions, gene));
  }
  return columns;
}

void appendClubRows(std::string_view method, int club, std::span<const int> rows, int topGeneCount,
                    const RankedAnalysis& ranking, const DataNames& names, ClubColumns& columns) {
  const std::string topGene = tsvField(names.genes[ranking.geneNumber(rows.front())]);
  for (std::size_t position = 0; position < rows.size(); ++position) {
    columns.method.emplace_back(method);
    columns.club.push_back(club);
    columns.topGene.push_back(topGene);
    columns.position.push_back(static_cast<int>(position) + 1);
    columns.gene.push_back(tsvField(names.genes[ranking.geneNumber(rows[position])]));
    columns.rank.push_back(rows[position] + 1);
    columns.mined.push_back(static_cast<int>(position) < topGeneCount);
  }
}

}  // namespace geneclub
