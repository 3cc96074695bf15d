// The Vega-Lite chart definitions of the report page's charts, one function per
// chart container. Each returns a complete definition with its data
// inline, ready for vega-embed, and keeps its mark count bounded for the
// largest inputs (12,600 genes, 102 samples, 32 top genes): long series are
// thinned and long lists cut to the strongest entries.
//
// REQUIRES for every function: the input satisfies report_input.h's REQUIRES.

#ifndef GENECLUB_REPORT_CHARTS_H_
#define GENECLUB_REPORT_CHARTS_H_

#include <cstddef>
#include <nlohmann/json.hpp>

#include "report/report_input.h"

namespace geneclub {

// Best genes drawn as gain bars; 50 name bars still fit one screen.
inline constexpr int kBestGenesShown = 50;

// Points of the all-genes gain curve: a few per pixel of its 560 px width.
inline constexpr int kGainCurvePoints = 1200;

// Strongest patterns of each class listed and drawn.
inline constexpr int kPatternsShown = 20;

// Gain bars of the kBestGenesShown best genes, coloured by status, with each
// gene's p_fwer beside its bar when any gene has one.
nlohmann::json bestGenesChart(const ReportInput& input);

// The gain of every gene by ranking place, thinned to at most
// kGainCurvePoints points, with the top-K and pool limits marked.
nlohmann::json gainCurveChart(const ReportInput& input);

// Whether a top gene's values are drawn on a log scale: when all of them are
// positive and strongly skewed (sample_charts.cc says how strongly).
bool drawnOnLogScale(const TopGeneValues& top);

// The values of input.topGenes[topIndex] by class, one dot per sample, with
// the gene's split as a vertical line; on a log scale when drawnOnLogScale,
// and the axis title says so.
// REQUIRES: topIndex < input.topGenes.size().
nlohmann::json topGeneChart(const ReportInput& input, std::size_t topIndex);

// Top genes x samples: each cell the sample's value of the gene scaled to
// the gene's own spread (its logarithm first when drawnOnLogScale): minus
// the gene's mean, divided by its standard deviation. Samples are grouped
// by class, class 1 first, each class in sample order, under a strip of
// class colours.
nlohmann::json topGeneHeatmap(const ReportInput& input);

// Samples x patterns: which samples each of the kPatternsShown strongest
// patterns of each class holds in, samples ordered and coloured by class.
nlohmann::json patternCoverageChart(const ReportInput& input);

// Clubs x ranking places: which genes joined each club of the run, beside
// the number of patterns mined per club.
nlohmann::json clubMembershipChart(const ReportInput& input, const ClubMethodRun& run);

// The confusion matrix of the evaluation: sample counts by true and
// predicted class.
// REQUIRES: input.evaluation has a value.
nlohmann::json confusionChart(const ReportInput& input);

// Each sample's share of its two scores that is class 1's, from 0 to 1 (an
// uncovered sample, scoring 0 for both, at one half), by true class, coloured
// by its true class and shaped by whether it was classified correctly and
// whether any pattern covered it.
// REQUIRES: input.evaluation has a value.
nlohmann::json sampleScoreChart(const ReportInput& input);

}  // namespace geneclub

#endif  // GENECLUB_REPORT_CHARTS_H_
