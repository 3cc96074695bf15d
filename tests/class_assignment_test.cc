// The class rules on label lists: which label becomes class 1, how class 0
// is named, the counts, and the errors for an unknown disease label and for
// more than two labels.

#include "readers/class_assignment.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

namespace geneclub::testing {
namespace {

using Rule = ClassAssignment::Rule;
using Labels = std::vector<std::string>;
using Counts = std::vector<std::pair<std::string, int>>;

ClassAssignment assigned(const Labels& labels, const std::string& disease = "") {
  std::variant<ClassAssignment, InputError> result = assignClasses(labels, disease);
  if (const InputError* error = std::get_if<InputError>(&result)) {
    ADD_FAILURE() << error->message;
    return {};
  }
  return std::get<ClassAssignment>(result);
}

TEST(ClassAssignmentTest, EachRuleChoosesClassOne) {
  ClassAssignment classes = assigned({"positive", "negative", "positive"});
  EXPECT_EQ(classes.rule, Rule::kNegativePositive);
  EXPECT_EQ(classes.classLabels, (std::vector<int>{0, 1, 0}));
  EXPECT_EQ(classes.diseaseLabel, "negative");
  EXPECT_EQ(classes.normalLabel, "positive");
  EXPECT_EQ(classes.labelCounts, (Counts{{"positive", 2}, {"negative", 1}}));

  // Only positive samples: class 1 is empty, yet still "negative".
  classes = assigned({"positive", "positive"});
  EXPECT_EQ(classes.rule, Rule::kNegativePositive);
  EXPECT_EQ(classes.classLabels, (std::vector<int>{0, 0}));
  EXPECT_EQ(classes.diseaseLabel, "negative");
  EXPECT_EQ(classes.normalLabel, "positive");
  classes = assigned({"negative"});
  EXPECT_EQ(classes.normalLabel, "");

  classes = assigned({"AML", "AML"});
  EXPECT_EQ(classes.rule, Rule::kSingleLabel);
  EXPECT_EQ(classes.classLabels, (std::vector<int>{1, 1}));
  EXPECT_EQ(classes.diseaseLabel, "AML");
  EXPECT_EQ(classes.normalLabel, "");

  // The option makes one label class 1 and all others class 0.
  classes = assigned({"Normal", "Tumor", "Normal", "Negative"}, "Tumor");
  EXPECT_EQ(classes.rule, Rule::kDiseaseOption);
  EXPECT_EQ(classes.classLabels, (std::vector<int>{0, 1, 0, 0}));
  EXPECT_EQ(classes.normalLabel, "Normal+Negative");
  // Two labels: the first sample's is class 1, whatever the words.
  classes = assigned({"Normal", "Tumor", "Tumor"});
  EXPECT_EQ(classes.rule, Rule::kFirstSampleLabel);
  EXPECT_EQ(classes.classLabels, (std::vector<int>{1, 0, 0}));
  EXPECT_EQ(classes.diseaseLabel, "Normal");
  EXPECT_EQ(classes.normalLabel, "Tumor");
  // Words that are nearly the native ones follow the two-label rule.
  classes = assigned({"positive", "Negative"});
  EXPECT_EQ(classes.rule, Rule::kFirstSampleLabel);
  EXPECT_EQ(classes.diseaseLabel, "positive");

  // The option wins over the native words too, and may leave class 0 empty.
  classes = assigned({"negative", "positive"}, "positive");
  EXPECT_EQ(classes.classLabels, (std::vector<int>{0, 1}));
  EXPECT_EQ(assigned({"x", "x"}, "x").normalLabel, "");
}

TEST(ClassAssignmentTest, UnknownDiseaseLabelAndThreeLabelsAreErrors) {
  std::variant<ClassAssignment, InputError> result = assignClasses({"A", "B", "A"}, "C");
  ASSERT_TRUE(std::holds_alternative<InputError>(result));
  EXPECT_EQ(std::get<InputError>(result).kind, InputError::kInvalidData);
  EXPECT_EQ(std::get<InputError>(result).message,
            "the disease label \"C\" is none of the labels: \"A\" (2), \"B\" (1)");
  result = assignClasses({"A", "B", "C", "B"}, "");
  ASSERT_TRUE(std::holds_alternative<InputError>(result));
  EXPECT_EQ(std::get<InputError>(result).message,
            "the samples carry 3 labels, more than two: \"A\" (1), \"B\" (2), \"C\" (1); name the "
            "class-1 label with --disease");
}

}  // namespace
}  // namespace geneclub::testing
