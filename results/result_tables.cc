#include "results/result_tables.h"

#include "patterns/ep_groups.h"
#include "results/ep_report.h"
#include "results/tsv_text.h"

namespace geneclub {
namespace {

std::string_view statusName(GeneStatus status) {
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

const std::string& geneName(const RankedAnalysis& ranking, const DataNames& names, int row) {
  return names.genes[ranking.geneNumber(row)];
}

// The field of a double that may be absent.
std::string optionalField(std::span<const double> values, int index) {
  return values.empty() ? std::string() : shortestDouble(values[index]);
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
  const std::vector<double> gains = tableGains(ranking);
  for (int row = 0; row < ranking.geneCount(); ++row) {
    const int gene = ranking.geneNumber(row);
    const int duplicateOf = ranking.duplicateOf(gene);
    out << row + 1 << '\t' << tsvField(names.genes[gene]) << '\t' << names.geneColumns[gene] << '\t'
        << shortestDouble(ranking.splitValue(row)) << '\t' << shortestDouble(gains[row]) << '\t'
        << statusName(ranking.status(gene)) << '\t'
        << (duplicateOf < 0 ? "" : tsvField(names.genes[duplicateOf])) << '\t'
        << optionalField(pValues, row) << '\t' << optionalField(foldFrequency, gene) << '\t'
        << tsvField(entryOf(names.geneSymbols, gene)) << '\t'
        << tsvField(entryOf(names.geneDescriptions, gene)) << '\n';
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
  const std::string topGene = tsvField(geneName(ranking, names, rows.front()));
  for (std::size_t position = 0; position < rows.size(); ++position) {
    out << method << '\t' << club << '\t' << topGene << '\t' << position + 1 << '\t'
        << tsvField(geneName(ranking, names, rows[position])) << '\t' << rows[position] + 1 << '\t'
        << (static_cast<int>(position) < topGeneCount ? "yes" : "no") << '\n';
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
  const bool withSymbols = !symbolAbove_.empty();
  const int lowestSupport =
      kept_ == PatternsKept::kEpDataLevels ? patterns.maxSupport() - kEpDataSupportLevels + 1 : 1;
  for (const std::vector<TidsetGroup>& groups : groupsBySupport(patterns, lowestSupport)) {
    for (const TidsetGroup& group : groups) {
      std::string samples;
      for (const int sample : patterns.supportingSamples(group.members.front())) {
        if (!samples.empty()) samples += ',';
        samples += samples_[sample];
      }
      const std::string support = std::to_string(group.support);
      for (const int member : group.members) {
        out += prefix;
        out += support;
        out += '\t';
        out += classSize;
        out += '\t';
        out += samples;
        out += '\t';
        std::string ranks;
        std::string symbols;
        bool first = true;
        for (const int item : orderedItems(group, patterns.patterns[member])) {
          const int row = rows[item / 2];
          const bool above = item % 2 == 1;
          if (!first) {
            out += " & ";
            ranks += ',';
            if (withSymbols) symbols += " & ";
          }
          first = false;
          out += above ? above_[row] : atOrBelow_[row];
          ranks += std::to_string(row + 1);
          if (withSymbols) symbols += above ? symbolAbove_[row] : symbolAtOrBelow_[row];
        }
        out += '\t';
        out += ranks;
        out += '\t';
        out += symbols;
        out += '\n';
      }
    }
  }
}

}  // namespace geneclub
