#include "report/report_page.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "report/chart_libraries.h"
#include "report/charts.h"
#include "report/html_text.h"
#include "report/input_check.h"
#include "report/report_labels.h"

namespace geneclub {
namespace {

using nlohmann::json;

// Gains and splits are written with 4 significant digits, as the ranking
// file writes them; p-values with 3.
constexpr int kGainDigits = 4;
constexpr int kPValueDigits = 3;

// Layout for the screen (a centred column of at most 1180 px) and for paper
// (charts shrink to the page width and are never cut across pages).
constexpr std::string_view kStyle = R"css(
:root { --ink: #1d2329; --muted: #5b6670; --rule: #d9dee3; --one: #e15759; --zero: #4e79a7; }
* { box-sizing: border-box; }
body { margin: 0; color: var(--ink); background: #fff;
  font: 15px/1.5 system-ui, -apple-system, "Segoe UI", Roboto, sans-serif; }
main { max-width: 1180px; margin: 0 auto; padding: 24px 28px 48px; }
h1 { font-size: 26px; margin: 0 0 2px; }
h2 { font-size: 20px; margin: 36px 0 8px; padding-bottom: 4px; border-bottom: 2px solid var(--rule); }
h3 { font-size: 16px; margin: 22px 0 6px; }
h4 { font-size: 14.5px; margin: 14px 0 4px; }
.subtitle { color: var(--muted); margin: 0 0 14px; word-break: break-all; }
table { border-collapse: collapse; }
.facts th { text-align: left; font-weight: 600; padding: 3px 18px 3px 0; vertical-align: top;
  white-space: nowrap; }
.facts td { padding: 3px 0; }
.patterns { width: 100%; margin: 4px 0 10px; font-size: 14px; }
.patterns th, .patterns td { text-align: left; padding: 3px 10px 3px 0;
  border-bottom: 1px solid var(--rule); vertical-align: top; }
.patterns th { font-weight: 600; }
.patterns td.id { font-weight: 600; white-space: nowrap; }
.patterns .support { white-space: nowrap; text-align: right; }
.gene { font-family: ui-monospace, "SFMono-Regular", Menlo, Consolas, monospace; font-size: 13px; }
.swatch { display: inline-block; width: 10px; height: 10px; border-radius: 2px; margin-right: 5px; }
.swatch.one { background: var(--one); }
.swatch.zero { background: var(--zero); }
figure { margin: 10px 0 18px; break-inside: avoid; page-break-inside: avoid; }
figcaption, .caption { color: var(--muted); font-size: 13.5px; max-width: 860px; margin-top: 4px; }
.grid { display: grid; grid-template-columns: repeat(auto-fill, minmax(300px, 1fr)); gap: 4px 22px; }
.grid figure { margin: 6px 0; }
.grid figcaption { color: var(--ink); font-size: 13.5px; margin: 0 0 2px; }
.side-by-side { display: flex; flex-wrap: wrap; gap: 12px 48px; align-items: flex-start; }
.side-by-side figure { max-width: 520px; }
.chart svg { max-width: 100%; height: auto; }
.chart-error { color: #a4262c; font-weight: 600; }
.note { color: var(--muted); }
footer { margin-top: 40px; color: var(--muted); font-size: 12.5px; }
@media print {
  body { font-size: 12px; }
  main { max-width: none; padding: 0; }
  h2, h3 { break-after: avoid; page-break-after: avoid; }
  .patterns tr { break-inside: avoid; page-break-inside: avoid; }
  .grid { grid-template-columns: repeat(3, 1fr); }
}
)css";

// Draws every chart: the chart definitions are one JSON object per chart
// container, in page order. A chart that fails shows its error in its
// container; the body's data-charts attribute counts the charts drawn once
// all are done, so tests and readers can tell the page has settled.
constexpr std::string_view kRenderScript = R"js(
(function () {
  var charts = JSON.parse(document.getElementById('chart-definitions').textContent);
  var drawn = 0;
  var pending = charts.map(function (chart) {
    var container = document.getElementById(chart.id);
    return vegaEmbed(container, chart.definition, {renderer: 'svg', actions: false, mode: 'vega-lite'})
      .then(function () { drawn += 1; })
      .catch(function (error) {
        container.textContent = 'This chart could not be drawn: ' + error;
        container.classList.add('chart-error');
        console.error('chart ' + chart.id + ': ' + error);
      });
  });
  Promise.all(pending).then(function () {
    document.body.setAttribute('data-charts', drawn + ' of ' + charts.length);
  });
})();
)js";

// The page under construction: its HTML text and, in page order, the charts
// whose containers it holds.
class PageWriter {
 public:
  void add(std::string_view html) { html_ += html; }
  void addText(std::string_view text) { html_ += escapeHtml(text); }

  // A figure holding one chart container with the given id and caption
  // (already HTML). The caption goes above the chart when `captionFirst`.
  void addChart(const std::string& id, json definition, std::string_view captionHtml,
                bool captionFirst = false) {
    add("<figure>");
    if (captionFirst) add("<figcaption>" + std::string(captionHtml) + "</figcaption>");
    add("<div class=\"chart\" id=\"" + escapeHtml(id) + "\"></div>");
    if (!captionFirst) add("<figcaption>" + std::string(captionHtml) + "</figcaption>");
    add("</figure>\n");
    charts_.push_back({{"id", id}, {"definition", std::move(definition)}});
  }

  std::string finish() {
    add("<script type=\"application/json\" id=\"chart-definitions\">");
    add(jsonForScriptElement(charts_));
    add("</script>\n");
    for (const EmbeddedFile& library : chartLibraries()) {
      add("<script>/* " + std::string(library.name) + " */\n");
      add(scriptForInlining(library.bytes));
      add("\n</script>\n");
    }
    add("<script>");
    add(kRenderScript);
    add("</script>\n</body>\n</html>\n");
    return std::move(html_);
  }

 private:
  std::string html_;
  json charts_ = json::array();
};

std::array<int, 2> classSizes(const ReportInput& input) {
  std::array<int, 2> sizes = {0, 0};
  for (const ReportSample& sample : input.samples) ++sizes[sample.classLabel];
  return sizes;
}

// The class entropy of all samples in nats: the most information a gene's
// cut can give about the class, so the scale for every gain.
double classEntropy(const std::array<int, 2>& sizes) {
  const double total = sizes[0] + sizes[1];
  double entropy = 0.0;
  for (int size : sizes) {
    if (size > 0) entropy -= size / total * std::log(size / total);
  }
  return entropy;
}

std::string classBadge(int label, const std::string& name) {
  return std::string("<span class=\"swatch ") + (label == kClassOne ? "one" : "zero") +
         "\"></span>" + escapeHtml(name);
}

std::string joined(const std::vector<std::string>& items, std::string_view separator) {
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += separator;
    out += items[i];
  }
  return out;
}

void writeFact(PageWriter& page, std::string_view name, const std::string& valueHtml) {
  page.add("<tr><th>" + std::string(name) + "</th><td>" + valueHtml + "</td></tr>\n");
}

void writeHeader(PageWriter& page, const ReportInput& input) {
  const ReportHeader& header = input.header;
  const auto names = classDisplayNames(header);
  const auto sizes = classSizes(input);
  page.add("<header>\n<h1>Gene ranking, emerging patterns and gene clubs</h1>\n");
  page.add("<p class=\"subtitle\">");
  page.addText(header.dataPath);
  page.add("</p>\n<table class=\"facts\">\n");
  writeFact(page, "Data file", "<span class=\"gene\">" + escapeHtml(header.dataPath) + "</span>");
  writeFact(page, "Shape",
            std::to_string(input.ranking.size()) + " genes analysed &times; " +
                std::to_string(input.samples.size()) + " samples");
  writeFact(page, "Classes",
            classBadge(kClassOne, names[kClassOne]) + " &mdash; class 1 (Disease), " +
                std::to_string(sizes[kClassOne]) + " samples<br>" +
                classBadge(kClassZero, names[kClassZero]) + " &mdash; class 0 (Normal), " +
                std::to_string(sizes[kClassZero]) + " samples");
  const ReportGeneCounts& counts = header.geneCounts;
  writeFact(page, "Genes",
            std::to_string(counts.total) + " in the file; " +
                std::to_string(counts.droppedForMissingValues) + " dropped for missing values; " +
                std::to_string(counts.incomplete) + " incomplete and " +
                std::to_string(counts.duplicate) + " duplicate, ranked but out of play");
  const ReportSettings& settings = header.settings;
  std::vector<std::string> methods;
  for (const std::string& method : settings.methods) methods.push_back(escapeHtml(method));
  writeFact(page, "Settings",
            "top K = " + std::to_string(settings.topK) +
                ", pool P = " + std::to_string(settings.pool) +
                "; methods: " + (methods.empty() ? std::string("none") : joined(methods, ", ")) +
                "; missing values: " + escapeHtml(settings.missingValuePolicy));
  if (input.evaluation) {
    writeFact(page, "Evaluation", "cross-validated, " + escapeHtml(input.evaluation->method));
  }
  writeFact(page, "Program",
            "version " + escapeHtml(header.programVersion) + ", run " + escapeHtml(header.runDate));
  page.add("</table>\n</header>\n");
}

void writeRanking(PageWriter& page, const ReportInput& input) {
  const auto sizes = classSizes(input);
  const int shown = std::min<int>(kBestGenesShown, static_cast<int>(input.ranking.size()));
  const bool anyPValue = std::any_of(input.ranking.begin(), input.ranking.end(),
                                     [](const RankedGene& gene) { return gene.pFwer.has_value(); });
  page.add("<section id=\"ranking\">\n<h2>Gene ranking</h2>\n");
  std::string caption =
      "The " + std::to_string(shown) +
      " genes of highest information gain, best first. The gain (in nats) says how much the "
      "gene's best cut tells about the class; no gene can exceed the class entropy of all "
      "samples, " +
      formatSignificant(classEntropy(sizes), kGainDigits) +
      " nats. Grey bars are genes out of play because their cut separates no samples "
      "(incomplete), orange ones because they repeat a better gene (duplicate).";
  if (anyPValue) {
    caption +=
        " p_fwer is the gene's permutation p-value corrected for testing every gene; values "
        "below 0.05 are black.";
  }
  page.addChart("chart-best-genes", bestGenesChart(input), caption);
  page.addChart("chart-gain-curve", gainCurveChart(input),
                "The gain of all " + std::to_string(input.ranking.size()) +
                    " genes by ranking place: where the curve flattens, further genes differ "
                    "little from one another. Dashed lines mark the top K genes mined for "
                    "patterns and the pool of P genes that may join clubs. Long rankings are "
                    "drawn from at most " +
                    std::to_string(kGainCurvePoints) +
                    " points that keep each stretch's highest and lowest gain.");
  page.add("</section>\n");
}

void writeTopGenes(PageWriter& page, const ReportInput& input) {
  const auto names = classDisplayNames(input.header);
  page.add("<section id=\"top-genes\">\n<h2>Top genes</h2>\n");
  if (!input.topGenes.empty()) {
    page.addChart("chart-top-gene-heatmap", topGeneHeatmap(input),
                  "The " + std::to_string(input.topGenes.size()) +
                      " top genes (rows) in every sample (columns), " +
                      classBadge(kClassOne, names[kClassOne]) + " first, then " +
                      classBadge(kClassZero, names[kClassZero]) +
                      ". Each gene's values are scaled to its own spread: the value (its "
                      "logarithm where the gene's plot below is on a log scale) minus the "
                      "gene's mean, divided by its standard deviation. Orange is above the "
                      "gene's mean, purple below; the colours reach their ends at 2.5 standard "
                      "deviations. Hover a cell for the sample and its value.");
  }
  page.add(
      "<p class=\"caption\">One dot per sample: its value of the gene (across) in its class's "
      "row, " +
      classBadge(kClassOne, names[kClassOne]) + " on top and " +
      classBadge(kClassZero, names[kClassZero]) +
      " below; dots are spread up and down only to keep them apart. The black line is the gene's "
      "cut: patterns call samples right of it &ldquo;above&rdquo; and the others &ldquo;at or "
      "below&rdquo;. A gene whose values are all positive and strongly skewed (a long tail of "
      "large values: skewness above 1) is drawn on a log scale, and its axis says so. Hover a "
      "dot for the sample's name and value.</p>\n<div class=\"grid\">\n");
  for (std::size_t t = 0; t < input.topGenes.size(); ++t) {
    const int place = input.topGenes[t].place;
    const RankedGene& gene = input.ranking[place - 1];
    const std::string caption = "<b>" + escapeHtml(geneLabel(input, place)) + "</b> &mdash; cut " +
                                formatSignificant(gene.split, kGainDigits) + ", gain " +
                                formatSignificant(gene.gain, kGainDigits);
    page.addChart("chart-top-gene-" + std::to_string(t + 1), topGeneChart(input, t), caption,
                  /*captionFirst=*/true);
  }
  page.add("</div>\n</section>\n");
}

// The condition in words with the gene's name and split, e.g.
// "M26383 above 59.83" or "M26383 at or below 59.83".
std::string conditionHtml(const ReportInput& input, const PatternCondition& condition) {
  const RankedGene& gene = input.ranking[condition.place - 1];
  return "<span class=\"gene\">" + escapeHtml(gene.name) + "</span>" +
         (condition.above ? " above " : " at or below ") +
         formatSignificant(gene.split, kGainDigits);
}

void writePatternTable(PageWriter& page, const ReportInput& input, int label) {
  const auto names = classDisplayNames(input.header);
  const auto& patterns = input.classPatterns[label];
  const int classSize = classSizes(input)[label];
  page.add("<h3>" + classBadge(label, names[label]) + " &mdash; class " + std::to_string(label) +
           (label == kClassOne ? " (Disease)" : " (Normal)") + "</h3>\n");
  if (patterns.empty()) {
    page.add("<p class=\"note\">No emerging pattern of this class.</p>\n");
    return;
  }
  const int shown = std::min<int>(kPatternsShown, static_cast<int>(patterns.size()));
  page.add("<p class=\"note\">" + std::to_string(patterns.size()) + " minimal patterns" +
           (shown < static_cast<int>(patterns.size())
                ? ", the " + std::to_string(shown) + " strongest shown"
                : std::string()) +
           ".</p>\n");
  page.add(
      "<table class=\"patterns\"><thead><tr><th>#</th><th>holds when</th>"
      "<th class=\"support\">support</th></tr></thead><tbody>\n");
  for (int p = 0; p < shown; ++p) {
    std::vector<std::string> conditions;
    for (const PatternCondition& condition : patterns[p].conditions) {
      conditions.push_back(conditionHtml(input, condition));
    }
    const int support = patterns[p].support;
    page.add("<tr><td class=\"id\">" + patternName(label, p) + "</td><td>" +
             joined(conditions, " <b>and</b> ") + "</td><td class=\"support\">" +
             std::to_string(support) + " of " + std::to_string(classSize) + " (" +
             formatPercent(classSize > 0 ? static_cast<double>(support) / classSize : 0.0) +
             ")</td></tr>\n");
  }
  page.add("</tbody></table>\n");
}

void writePatterns(PageWriter& page, const ReportInput& input) {
  const auto names = classDisplayNames(input.header);
  page.add("<section id=\"patterns\">\n<h2>Emerging patterns of the top genes</h2>\n");
  page.add(
      "<p class=\"caption\">A pattern is a set of conditions on the top genes' cuts. It holds in "
      "a sample when all its conditions do; each listed pattern holds in the given number of "
      "samples of its class and in no sample of the other class, and none of its conditions can "
      "be dropped. Strongest (largest support) first.</p>\n");
  writePatternTable(page, input, kClassOne);
  writePatternTable(page, input, kClassZero);
  if (input.classPatterns[kClassOne].empty() && input.classPatterns[kClassZero].empty()) {
    page.add("</section>\n");
    return;
  }
  page.addChart("chart-pattern-coverage", patternCoverageChart(input),
                "Which samples each listed pattern holds in: rows are the patterns above (D for " +
                    escapeHtml(names[kClassOne]) + ", N for " + escapeHtml(names[kClassZero]) +
                    "), columns the samples, class 1 first. The top row shows every sample's "
                    "class; a column without cells below it is a sample that no listed pattern "
                    "covers. Hover a cell for the sample's name.");
  page.add("</section>\n");
}

// Where a strong pattern was found: the global run, or a method's club named
// by its top gene.
std::string foundByHtml(const ReportInput& input, const StrongPattern& pattern) {
  if (pattern.clubPlace == 0) {
    return "the global run over the top " + std::to_string(input.topGenes.size()) + " genes";
  }
  return escapeHtml(pattern.foundBy) + " club of <span class=\"gene\">" +
         escapeHtml(geneLabel(input, pattern.clubPlace)) + "</span>";
}

// The strong patterns of a class, as its class file lists their gene sets,
// in words: the kPatternsShown of the highest support, in file order.
void writeStrongPatternTable(PageWriter& page, const ReportInput& input, int label) {
  const auto names = classDisplayNames(input.header);
  const int classSize = classSizes(input)[label];
  std::vector<const StrongPattern*> patterns;
  for (const StrongPattern& pattern : input.strongPatterns[label]) patterns.push_back(&pattern);
  std::stable_sort(
      patterns.begin(), patterns.end(),
      [](const StrongPattern* a, const StrongPattern* b) { return a->support > b->support; });
  page.add("<h4>" + classBadge(label, names[label]) + "</h4>\n");
  if (patterns.empty()) {
    page.add("<p class=\"note\">None.</p>\n");
    return;
  }
  const int shown = std::min<int>(kPatternsShown, static_cast<int>(patterns.size()));
  page.add("<p class=\"note\">" + std::to_string(patterns.size()) +
           (patterns.size() == 1 ? " pattern" : " patterns") +
           (shown < static_cast<int>(patterns.size())
                ? ", the " + std::to_string(shown) + " of highest support shown"
                : std::string()) +
           ".</p>\n");
  page.add(
      "<table class=\"patterns\"><thead><tr><th>holds when</th>"
      "<th class=\"support\">support</th><th>found in</th></tr></thead><tbody>\n");
  for (int p = 0; p < shown; ++p) {
    std::vector<std::string> conditions;
    for (const PatternCondition& condition : patterns[p]->conditions) {
      conditions.push_back(conditionHtml(input, condition));
    }
    page.add("<tr><td>" + joined(conditions, " <b>and</b> ") + "</td><td class=\"support\">" +
             std::to_string(patterns[p]->support) + " of " + std::to_string(classSize) +
             "</td><td>" + foundByHtml(input, *patterns[p]) + "</td></tr>\n");
  }
  page.add("</tbody></table>\n");
}

// The membership matrix of each method run's clubs.
void writeClubCharts(PageWriter& page, const ReportInput& input) {
  if (input.clubRuns.empty()) {
    page.add("<p class=\"note\">No club method was run.</p>\n");
    return;
  }
  page.add(
      "<p class=\"caption\">Each row is the club built around one top gene. A cell is filled "
      "when the gene at that ranking place (column) joined the club, dark for the top gene "
      "itself; only places that joined some club are columns, in ranking order. The bars give "
      "the number of emerging patterns mined over each club's genes.</p>\n");
  for (std::size_t r = 0; r < input.clubRuns.size(); ++r) {
    const ClubMethodRun& run = input.clubRuns[r];
    page.add("<h3>Method: ");
    page.addText(run.method);
    page.add("</h3>\n");
    page.addChart("chart-clubs-" + std::to_string(r + 1), clubMembershipChart(input, run),
                  std::to_string(run.clubs.size()) + " clubs built by the " +
                      escapeHtml(run.method) + " method.");
  }
}

void writeClubs(PageWriter& page, const ReportInput& input) {
  page.add("<section id=\"clubs\">\n<h2>Gene clubs</h2>\n");
  writeClubCharts(page, input);
  page.add(
      "<h3>The strongest patterns</h3>\n<p class=\"caption\">The patterns of the top genes and "
      "of every club that hold in all samples of their class, or in all but one, and in no "
      "sample of the other class: those whose gene sets diseaseEP.data and normalEP.data list "
      "(a pattern whose genes another listed pattern already holds is left out). Highest support "
      "first.</p>\n");
  writeStrongPatternTable(page, input, kClassOne);
  writeStrongPatternTable(page, input, kClassZero);
  page.add("</section>\n");
}

// Which classifier the folds used, in words.
std::string classifierHtml(const ReportEvaluation& evaluation) {
  std::vector<std::string> rules;
  for (const std::string& rule : evaluation.candidateRules) rules.push_back(escapeHtml(rule));
  std::vector<std::string> counts;
  for (const int count : evaluation.candidateTopGenes) counts.push_back(std::to_string(count));
  if (rules.size() == 1 && counts.size() == 1) {
    return "Each fold's classifier scores the minimal patterns of the " + counts[0] +
           " best genes of its training samples by the " + rules[0] + " rule.";
  }
  std::vector<std::string> choices;
  for (const FoldChoice& choice : evaluation.choices) {
    choices.push_back(escapeHtml(choice.rule) + " with K = " + std::to_string(choice.topGenes) +
                      " in " + std::to_string(choice.folds) +
                      (choice.folds == 1 ? " fold" : " folds"));
  }
  return "Each fold chose its scoring rule (" + joined(rules, ", ") +
         ") and number of mined genes K (" + joined(counts, ", ") +
         ") by a cross-validation within its training samples, keeping " +
         escapeHtml(evaluation.referenceRule) +
         " with K = " + std::to_string(evaluation.referenceTopGenes) +
         " unless another did measurably better: " + joined(choices, "; ") + ".";
}

void writeEvaluation(PageWriter& page, const ReportInput& input) {
  const ReportEvaluation& evaluation = *input.evaluation;
  const auto names = classDisplayNames(input.header);
  const auto uncovered = std::count_if(evaluation.predictions.begin(), evaluation.predictions.end(),
                                       [](const SamplePrediction& p) { return !p.covered; });
  page.add("<section id=\"evaluation\">\n<h2>Evaluation</h2>\n<p>Cross-validation ");
  page.addText(evaluation.method);
  page.add(
      ": accuracy <b>" + formatPercent(evaluation.accuracy) + "</b>, balanced accuracy <b>" +
      formatPercent(evaluation.balancedAccuracy) + "</b>; recall " +
      classBadge(kClassOne, names[kClassOne]) + " " + formatPercent(evaluation.recallClassOne) +
      ", " + classBadge(kClassZero, names[kClassZero]) + " " +
      formatPercent(evaluation.recallClassZero) + ". " + classifierHtml(evaluation) + " " +
      (uncovered == 0 ? std::string("Every held-out sample held a pattern of a class.")
                      : std::to_string(uncovered) +
                            (uncovered == 1 ? " held-out sample holds" : " held-out samples hold") +
                            " no pattern of either class and went by the tie rule, to the "
                            "class with more training samples.") +
      "</p>\n<div class=\"side-by-side\">\n");
  page.addChart("chart-confusion", confusionChart(input),
                "Samples by true class (rows) and the class predicted while the sample was held "
                "out (columns). Green cells are correct.");
  page.addChart("chart-scores", sampleScoreChart(input),
                "One point per sample in its true class's row, scored while held out: the share "
                "of its two scores that is " +
                    classBadge(kClassOne, names[kClassOne]) +
                    "'s, from 0 to 1. Right of the dashed line at one half the sample was "
                    "predicted " +
                    escapeHtml(names[kClassOne]) + ", left of it " + escapeHtml(names[kClassZero]) +
                    ". Crosses were classified wrongly; squares and triangles mark samples that "
                    "no pattern covers, which stand at one half and went by the tie rule. Hover "
                    "a point for the sample, its fold and both scores.");
  page.add("</div>\n</section>\n");
}

}  // namespace

std::string buildReportHtml(const ReportInput& input) {
  checkReportInput(input);
  PageWriter page;
  page.add(
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>Report: ");
  page.addText(input.header.dataPath);
  page.add("</title>\n<style>");
  page.add(kStyle);
  page.add("</style>\n</head>\n<body>\n<main>\n");
  page.add(
      "<noscript><p class=\"chart-error\">The charts of this page need JavaScript.</p>"
      "</noscript>\n");
  writeHeader(page, input);
  writeRanking(page, input);
  writeTopGenes(page, input);
  writePatterns(page, input);
  writeClubs(page, input);
  if (input.evaluation) writeEvaluation(page, input);
  page.add(
      "<footer>Charts drawn with Vega, Vega-Lite and vega-embed (BSD-3-Clause licence, "
      "University of Washington Interactive Data Lab), included in this page.</footer>\n"
      "</main>\n");
  return page.finish();
}

}  // namespace geneclub
