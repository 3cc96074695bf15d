// Turns the raw labels of a two-class table into the classes the analysis
// uses: class 1 ("Disease") and class 0 ("Normal"). The rules are fixed, so
// that the same labels always give the same classes, and the rule that
// chose class 1 is reported for the program's summary.

#ifndef GENECLUB_READERS_CLASS_ASSIGNMENT_H_
#define GENECLUB_READERS_CLASS_ASSIGNMENT_H_

#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "readers/input_error.h"

namespace geneclub {

struct ClassAssignment {
  std::vector<int> classLabels;  // per sample: 1 for class 1 ("Disease"), 0 for class 0 ("Normal")
  std::string diseaseLabel;      // the class-1 label
  // The class-0 label: the other labels in order of first appearance joined
  // by "+"; empty when class 0 has no samples.
  std::string normalLabel;
  // Every label with its count, in order of first appearance.
  std::vector<std::pair<std::string, int>> labelCounts;
  enum class Rule { kNegativePositive, kDiseaseOption, kSingleLabel, kFirstSampleLabel };
  Rule rule = Rule::kFirstSampleLabel;  // which rule chose class 1
};

// Assigns the classes, by the first rule that applies:
//  - `diseaseLabel` given (not empty): that label is class 1 and every other
//    label class 0; a diseaseLabel that no sample carries is an error that
//    lists the labels.
//  - every label is "negative" or "positive" (exactly): "negative" is class
//    1, as in the interactive program's data, even when no sample carries it.
//  - a single distinct label: class 1, and class 0 is empty.
//  - exactly two distinct labels: the first sample's label is class 1.
// More than two labels without a diseaseLabel is an error that lists the
// labels with their counts and asks for the option --disease. Errors have
// kind kInvalidData.
std::variant<ClassAssignment, InputError> assignClasses(const std::vector<std::string>& labels,
                                                        const std::string& diseaseLabel);

}  // namespace geneclub

#endif  // GENECLUB_READERS_CLASS_ASSIGNMENT_H_
