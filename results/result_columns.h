// The rows of genes.tsv, clubs.tsv and patterns.tsv held as columns in
// memory, for callers that hand the tables on as data frames rather than
// files. Each column holds, row for row, exactly what the file's column
// holds: the same text (names with control characters as spaces) and the
// same doubles, with an absent number as NaN; the pattern table's samples
// are kept as sample numbers.

#ifndef GENECLUB_RESULTS_RESULT_COLUMNS_H_
#define GENECLUB_RESULTS_RESULT_COLUMNS_H_

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/ranked_analysis.h"

namespace geneclub {

struct DataNames;

// genes.tsv: one entry per ranking place.
struct GeneColumns {
  std::vector<int> rank;
  std::vector<std::string> gene;
  std::vector<int> column;
  std::vector<double> split;
  std::vector<double> gain;
  std::vector<std::string> status;
  std::vector<std::string> duplicateOf;  // "" for a gene that repeats none
  std::vector<double> pFwer;             // NaN without permutations
  std::vector<double> foldFrequency;     // NaN without an evaluation
  std::vector<std::string> symbol;
  std::vector<std::string> description;
};

// clubs.tsv: one entry per club member.
struct ClubColumns {
  std::vector<std::string> method;
  std::vector<int> club;
  std::vector<std::string> topGene;
  std::vector<int> position;
  std::vector<std::string> gene;
  std::vector<int> rank;
  std::vector<bool> mined;
};

// patterns.tsv: one entry per pattern. The supporting samples of row i are
// sampleSets[sampleSet[i]], sample numbers ascending; the patterns of one
// equiv case group share their set.
struct PatternColumns {
  std::vector<std::string> analysis;
  std::vector<int> club;
  std::vector<std::string> classLabel;
  std::vector<int> support;
  std::vector<int> classSize;
  std::vector<int> sampleSet;
  std::vector<std::vector<int>> sampleSets;
  std::vector<std::string> pattern;
  std::vector<std::string> ranks;
  std::vector<std::string> symbols;
};

// "in_play", "incomplete" or "duplicate", as genes.tsv writes a status.
std::string_view geneStatusName(GeneStatus status);

// The columns of genes.tsv, with the same arguments as writeGenesTable.
GeneColumns genesColumns(const RankedAnalysis& ranking, const DataNames& names,
                         std::span<const double> pValues, std::span<const double> foldFrequency);

// Appends the rows that writeClubRows writes for the same club.
void appendClubRows(std::string_view method, int club, std::span<const int> rows, int topGeneCount,
                    const RankedAnalysis& ranking, const DataNames& names, ClubColumns& columns);

}  // namespace geneclub

#endif  // GENECLUB_RESULTS_RESULT_COLUMNS_H_
