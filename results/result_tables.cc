#include "results/result_tables.h"

#include <cmath>

#include "patterns/ep_groups.h"
#include "results/ep_report.h"
#include "results/tsv_text.h"

namespace geneclub {
namespace {

const std::string& geneName(const RankedAnalysis& ranking, const DataNames& names, int row) {
  return names.genes[ranking.geneNumber(row)];
}

// The field of a double that may be absent (NaN).
std::string optionalField(double value) {
  return std::isnan(value) ? std::string() : shortestDouble(value);
}

// The gene's entry of a list by gene number; "" when the list is empty.
const std::string& entryOf(const std::vector<std::string>& perGene, int gene) {
  static const std::string kNone;
  return perGene.empty() ? kNone : perGene[gene];
}

}  // namespace

std::string_view patternsKeptName(PatternsKept kept) {
  switch (kept) {
    case PatternsKept::kAll:
      return "all";
    case PatternsKept::kEpDataLevels:
      return "ep-data";
    case PatternsKept::kNone:
      return "none";
  }
  return "";
}

std::vector<double> tableGains(const RankedAnalysis& ranking) {
  std::vector<int> rowOf(ranking.geneCount());
  for (int row = 0; row < ranking.geneCount(); ++row) rowOf[ranking.geneNumber(row)] = row;
  std::vector<double> gains = ranking.gains();
  for (int row = 0; row < ranking.geneCount(); ++row) {
    const int repeated = ranking.duplicateOf(ranking.geneNumber(row));
    // The gene repeated is always one in play, with its gain kept.
    if (repeated >= 0) gains[row] = ranking.gain(rowOf[repeated]);
  }
  return gains;
}

std::string DataNames::shownName(int gene) const {
  const std::string& symbol = entryOf(geneSymbols, gene);
  return symbol.empty() ? genes[gene] : genes[gene] + " (" + symbol + ")";
}

void writeGenesTable(const RankedAnalysis& ranking, const DataNames& names,
                     std::span<const double> pValues, std::span<const double> foldFrequency,
                     std::ostream& out) {
  out << "rank\tgene\tcolumn\tsplit\tgain\tstatus\tduplicate_of\tp_fwer\tfold_"
         "frequency\tsymbol\tdescription\n";
  const GeneColumns genes = genesColumns(ranking, names, pValues, foldFrequency);
  for (std::size_t row = 0; row < genes.rank.size(); ++row) {
    out << genes.rank[row] << '\t' << genes.gene[row] << '\t' << genes.column[row] << '\t'
        << shortestDouble(genes.split[row]) << '\t' << shortestDouble(genes.gain[row]) << '\t'
        << genes.status[row] << '\t' << genes.duplicateOf[row] << '\t'
        << optionalField(genes.pFwer[row]) << '\t' << optionalField(genes.foldFrequency[row])
        << '\t' << genes.symbol[row] << '\t' << genes.description[row] << '\n';
  }
}

void writeEvaluationTable(std::span<const int> folds, std::span<const int> trueClasses,
                          std::span<const HeldOutPrediction> predictions,
                          std::span<const ClassifierChoice> foldChoices, const DataNames& names,
                          std::ostream& out) {
  const auto label = [&names](int classLabel) {
    return tsvField(classLabel == 1 ? names.diseaseLabel : names.normalLabel);
  };
  out << "sample\tfold\ttrue\tpredicted\tscore_disease\tscore_normal\trule\ttop\tcovered\n";
  for (std::size_t sample = 0; sample < predictions.size(); ++sample) {
    const HeldOutPrediction& prediction = predictions[sample];
    const ClassifierChoice& choice = foldChoices[prediction.fold - 1];
    out << tsvField(names.samples[sample]) << '\t' << folds[sample] << '\t'
        << label(trueClasses[sample]) << '\t' << label(prediction.predictedLabel) << '\t'
        << shortestDouble(prediction.scoreClassOne) << '\t'
        << shortestDouble(prediction.scoreClassZero) << '\t' << scoringRuleName(choice.rule) << '\t'
        << choice.topGeneCount << '\t' << (prediction.covered ? "yes" : "no") << '\n';
  }
}

void writeClubsHeader(std::ostream& out) {
  out << "method\tclub\ttop_gene\tposition\tgene\trank\tmined\n";
}

void writeClubRows(std::string_view method, int club, std::span<const int> rows, int topGeneCount,
                   const RankedAnalysis& ranking, const DataNames& names, std::ostream& out) {
  ClubColumns members;
  appendClubRows(method, club, rows, topGeneCount, ranking, names, members);
  for (std::size_t row = 0; row < members.gene.size(); ++row) {
    out << members.method[row] << '\t' << members.club[row] << '\t' << members.topGene[row] << '\t'
        << members.position[row] << '\t' << members.gene[row] << '\t' << members.rank[row] << '\t'
        << (members.mined[row] ? "yes" : "no") << '\n';
  }
}

void writePatternsHeader(std::string& out) {
  out += "analysis\tclub\tclass\tsupport\tclass_size\tsamples\tpattern\tranks\tsymbols\n";
}

PatternRowWriter::PatternRowWriter(const RankedAnalysis& ranking, const DataNames& names,
                                   PatternsKept kept)
    : diseaseLabel_(tsvField(names.diseaseLabel)),
      normalLabel_(tsvField(names.normalLabel)),
      kept_(kept) {
  for (int row = 0; row < ranking.geneCount(); ++row) {
    const std::string gene = tsvField(geneName(ranking, names, row));
    const std::string split = shortestDouble(ranking.splitValue(row));
    atOrBelow_.push_back(gene + " <= " + split);
    above_.push_back(gene + " > " + split);
    if (names.geneSymbols.empty()) continue;
    const std::string& symbol = names.geneSymbols[ranking.geneNumber(row)];
    const std::string shown = symbol.empty() ? gene : tsvField(symbol);
    symbolAtOrBelow_.push_back(shown + " <= " + split);
    symbolAbove_.push_back(shown + " > " + split);
  }
  for (const std::string& sample : names.samples) samples_.push_back(tsvField(sample));
}

void PatternRowWriter::write(std::string_view analysis, int club, const MiningResult& mining,
                             std::span<const int> rows, std::string& out) const {
  writeClass(analysis, club, mining.disease, diseaseLabel_, rows, out);
  writeClass(analysis, club, mining.normal, normalLabel_, rows, out);
}

void PatternRowWriter::collect(std::string_view analysis, int club, const MiningResult& mining,
                               std::span<const int> rows, PatternColumns& columns) const {
  collectClass(analysis, club, mining.disease, diseaseLabel_, rows, columns);
  collectClass(analysis, club, mining.normal, normalLabel_, rows, columns);
}

template <typename Emit>
void PatternRowWriter::forEachKept(const ClassPatterns& patterns, Emit&& emit) const {
  const int lowestSupport =
      kept_ == PatternsKept::kEpDataLevels ? patterns.maxSupport() - kEpDataSupportLevels + 1 : 1;
  for (const std::vector<TidsetGroup>& groups : groupsBySupport(patterns, lowestSupport)) {
    for (const TidsetGroup& group : groups) {
      for (const int member : group.members) {
        emit(group, member == group.members.front(),
             orderedItems(group, patterns.patterns[member]));
      }
    }
  }
}

void PatternRowWriter::appendConditions(std::span<const int> items, std::span<const int> rows,
                                        std::string& pattern, std::string& ranks,
                                        std::string& symbols) const {
  const bool withSymbols = !symbolAbove_.empty();
  bool first = true;
  for (const int item : items) {
    const int row = rows[item / 2];
    const bool above = item % 2 == 1;
    if (!first) {
      pattern += " & ";
      ranks += ',';
      if (withSymbols) symbols += " & ";
    }
    first = false;
    pattern += above ? above_[row] : atOrBelow_[row];
    ranks += std::to_string(row + 1);
    if (withSymbols) symbols += above ? symbolAbove_[row] : symbolAtOrBelow_[row];
  }
}

void PatternRowWriter::writeClass(std::string_view analysis, int club,
                                  const ClassPatterns& patterns, const std::string& label,
                                  std::span<const int> rows, std::string& out) const {
  // What every row of the class begins with.
  std::string prefix(analysis);
  prefix += '\t';
  prefix += std::to_string(club);
  prefix += '\t';
  prefix += label;
  prefix += '\t';
  const std::string classSize = std::to_string(patterns.tupleCount);
  std::string samples, support;
  forEachKept(patterns,
              [&](const TidsetGroup& group, bool firstOfGroup, const std::vector<int>& items) {
                if (firstOfGroup) {
                  samples.clear();
                  for (const int sample : patterns.supportingSamples(group.members.front())) {
                    if (!samples.empty()) samples += ',';
                    samples += samples_[sample];
                  }
                  support = std::to_string(group.support);
                }
                out += prefix;
                out += support;
                out += '\t';
                out += classSize;
                out += '\t';
                out += samples;
                out += '\t';
                std::string ranks, symbols;
                appendConditions(items, rows, out, ranks, symbols);
                out += '\t';
                out += ranks;
                out += '\t';
                out += symbols;
                out += '\n';
              });
}

void PatternRowWriter::collectClass(std::string_view analysis, int club,
                                    const ClassPatterns& patterns, const std::string& label,
                                    std::span<const int> rows, PatternColumns& columns) const {
  forEachKept(patterns,
              [&](const TidsetGroup& group, bool firstOfGroup, const std::vector<int>& items) {
                if (firstOfGroup) {
                  columns.sampleSets.push_back(patterns.supportingSamples(group.members.front()));
                }
                columns.analysis.emplace_back(analysis);
                columns.club.push_back(club);
                columns.classLabel.push_back(label);
                columns.support.push_back(group.support);
                columns.classSize.push_back(patterns.tupleCount);
                columns.sampleSet.push_back(static_cast<int>(columns.sampleSets.size()) - 1);
                std::string& pattern = columns.pattern.emplace_back();
                std::string& ranks = columns.ranks.emplace_back();
                std::string& symbols = columns.symbols.emplace_back();
                appendConditions(items, rows, pattern, ranks, symbols);
              });
}

}  // namespace geneclub
