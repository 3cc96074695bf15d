#include "app/result_tables.h"

#include "app/tsv_text.h"
#include "patterns/ep_groups.h"

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

const std::string& geneName(const GeneClubAnalyzer& analyzer, const DataNames& names, int row) {
  return names.genes[analyzer.geneNumbers[row]];
}

void writeClassRows(std::string_view analysis, int club, const ClassPatterns& patterns,
                    const std::string& label, std::span<const int> rows,
                    const GeneClubAnalyzer& analyzer, const DataNames& names, std::ostream& out) {
  for (int support = patterns.maxSupport(); support >= 1; --support) {
    for (const TidsetGroup& group : tidsetGroups(patterns, support)) {
      std::string samples;
      const std::span<const std::uint64_t> tidset = patterns.tidset(group.members.front());
      for (int id = 0; id < patterns.tupleCount; ++id) {
        if (((tidset[id / 64] >> (id % 64)) & 1) == 0) continue;
        if (!samples.empty()) samples += ',';
        samples += tsvField(names.samples[patterns.samples[id]]);
      }
      for (const int member : group.members) {
        std::string conditions, ranks;
        for (const int item : orderedItems(group, patterns.patterns[member])) {
          const int row = rows[item / 2];
          if (!conditions.empty()) {
            conditions += " & ";
            ranks += ',';
          }
          conditions += tsvField(geneName(analyzer, names, row));
          conditions += item % 2 == 1 ? " > " : " <= ";
          conditions += shortestDouble(analyzer.splitValues[row]);
          ranks += std::to_string(row + 1);
        }
        out << analysis << '\t' << club << '\t' << tsvField(label) << '\t' << support << '\t'
            << patterns.tupleCount << '\t' << samples << '\t' << conditions << '\t' << ranks
            << '\n';
      }
    }
  }
}

}  // namespace

void writeGenesTable(const GeneClubAnalyzer& analyzer, const DataNames& names,
                     std::span<const double> pValues, std::ostream& out) {
  out << "rank\tgene\tcolumn\tsplit\tgain\tstatus\tduplicate_of\tp_fwer\n";
  for (int row = 0; row < analyzer.geneCount(); ++row) {
    const int gene = analyzer.geneNumbers[row];
    const int duplicateOf = analyzer.duplicateOf.empty() ? -1 : analyzer.duplicateOf[gene];
    out << row + 1 << '\t' << tsvField(names.genes[gene]) << '\t' << names.geneColumns[gene] << '\t'
        << shortestDouble(analyzer.splitValues[row]) << '\t'
        << shortestDouble(analyzer.informationGains[row]) << '\t'
        << statusName(analyzer.geneStatus.empty() ? GeneStatus::kInPlay : analyzer.geneStatus[gene])
        << '\t' << (duplicateOf < 0 ? "" : tsvField(names.genes[duplicateOf])) << '\t'
        << (pValues.empty() ? "" : shortestDouble(pValues[row])) << '\n';
  }
}

void writeEvaluationTable(std::span<const int> folds, std::span<const int> trueClasses,
                          std::span<const int> predictedClasses,
                          std::span<const double> diseaseScores,
                          std::span<const double> normalScores, const DataNames& names,
                          std::ostream& out) {
  const auto label = [&names](int classLabel) {
    return tsvField(classLabel == 1 ? names.diseaseLabel : names.normalLabel);
  };
  out << "sample\tfold\ttrue\tpredicted\tscore_disease\tscore_normal\n";
  for (std::size_t sample = 0; sample < folds.size(); ++sample) {
    out << tsvField(names.samples[sample]) << '\t' << folds[sample] << '\t'
        << label(trueClasses[sample]) << '\t' << label(predictedClasses[sample]) << '\t'
        << shortestDouble(diseaseScores[sample]) << '\t' << shortestDouble(normalScores[sample])
        << '\n';
  }
}

void writeClubsHeader(std::ostream& out) {
  out << "method\tclub\ttop_gene\tposition\tgene\trank\tmined\n";
}

void writeClubRows(std::string_view method, int club, std::span<const int> rows, int topGeneCount,
                   const GeneClubAnalyzer& analyzer, const DataNames& names, std::ostream& out) {
  const std::string topGene = tsvField(geneName(analyzer, names, rows.front()));
  for (std::size_t position = 0; position < rows.size(); ++position) {
    out << method << '\t' << club << '\t' << topGene << '\t' << position + 1 << '\t'
        << tsvField(geneName(analyzer, names, rows[position])) << '\t' << rows[position] + 1 << '\t'
        << (static_cast<int>(position) < topGeneCount ? "yes" : "no") << '\n';
  }
}

void writePatternsHeader(std::ostream& out) {
  out << "analysis\tclub\tclass\tsupport\tclass_size\tsamples\tpattern\tranks\n";
}

void writePatternRows(std::string_view analysis, int club, const MiningResult& mining,
                      std::span<const int> rows, const GeneClubAnalyzer& analyzer,
                      const DataNames& names, std::ostream& out) {
  writeClassRows(analysis, club, mining.disease, names.diseaseLabel, rows, analyzer, names, out);
  writeClassRows(analysis, club, mining.normal, names.normalLabel, rows, analyzer, names, out);
}

}  // namespace geneclub
