#include "readers/class_assignment.h"

#include <algorithm>

#include "readers/table_text.h"

namespace geneclub {
namespace {

// The labels with their counts, for a message: "ALL" (47), "AML" (25).
std::string listedWithCounts(const std::vector<std::pair<std::string, int>>& counts) {
  std::string list;
  for (const auto& [label, count] : counts) {
    if (!list.empty()) list += ", ";
    list += quoteForMessage(label) + " (" + std::to_string(count) + ")";
  }
  return list;
}

}  // namespace

std::variant<ClassAssignment, InputError> assignClasses(const std::vector<std::string>& labels,
                                                        const std::string& diseaseLabel) {
  ClassAssignment assignment;
  for (const std::string& label : labels) {
    auto known = std::find_if(assignment.labelCounts.begin(), assignment.labelCounts.end(),
                              [&label](const auto& entry) { return entry.first == label; });
    if (known == assignment.labelCounts.end()) {
      assignment.labelCounts.emplace_back(label, 1);
    } else {
      ++known->second;
    }
  }
  const std::vector<std::pair<std::string, int>>& counts = assignment.labelCounts;
  const auto carried = [&counts](const std::string& label) {
    return std::any_of(counts.begin(), counts.end(),
                       [&label](const auto& entry) { return entry.first == label; });
  };
  const bool onlyNegativePositive = std::all_of(
      counts.begin(), counts.end(),
      [](const auto& entry) { return entry.first == "negative" || entry.first == "positive"; });
  if (!diseaseLabel.empty()) {
    if (!carried(diseaseLabel)) {
      return InputError{InputError::kInvalidData,
                        "the disease label " + quoteForMessage(diseaseLabel) +
                            " is none of the labels: " + listedWithCounts(counts)};
    }
    assignment.rule = ClassAssignment::Rule::kDiseaseOption;
    assignment.diseaseLabel = diseaseLabel;
  } else if (onlyNegativePositive) {
    assignment.rule = ClassAssignment::Rule::kNegativePositive;
    assignment.diseaseLabel = "negative";
  } else if (counts.size() == 1) {
    assignment.rule = ClassAssignment::Rule::kSingleLabel;
    assignment.diseaseLabel = counts[0].first;
  } else if (counts.size() == 2) {
    assignment.rule = ClassAssignment::Rule::kFirstSampleLabel;
    assignment.diseaseLabel = labels[0];
  } else {
    return InputError{InputError::kInvalidData,
                      "the samples carry " + std::to_string(counts.size()) +
                          " labels, more than two: " + listedWithCounts(counts) +
                          "; name the class-1 label with --disease"};
  }
  for (const auto& [label, count] : counts) {
    if (label == assignment.diseaseLabel) continue;
    if (!assignment.normalLabel.empty()) assignment.normalLabel += "+";
    assignment.normalLabel += label;
  }
  assignment.classLabels.reserve(labels.size());
  for (const std::string& label : labels) {
    assignment.classLabels.push_back(label == assignment.diseaseLabel ? 1 : 0);
  }
  return assignment;
}

}  // namespace geneclub
