// The two real public tables beside the project, when present: their shapes,
// label counts and the classes they give. Skipped when the files are absent.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <variant>

#include "readers/class_assignment.h"
#include "readers/expression_table.h"
#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

struct PublicTable {
  const char* file;
  std::size_t samples;
  std::size_t genes;
  const char* firstGene;
  const char* diseaseLabel;  // the first sample's label
  int diseaseCount;
  const char* normalLabel;
  int normalCount;
};

void expectPublicTable(const PublicTable& expected) {
  const std::filesystem::path path = std::filesystem::path(GENECLUB_SOURCE_DIR) / ".." / "shared" /
                                     "data" / "public" / expected.file;
  if (!std::filesystem::exists(path)) GTEST_SKIP() << path << " is absent";
  std::variant<ExpressionTable, InputError> read = readExpressionTable(path.string(), {});
  ASSERT_TRUE(std::holds_alternative<ExpressionTable>(read)) << std::get<InputError>(read).message;
  const ExpressionTable& table = std::get<ExpressionTable>(read);
  EXPECT_EQ(table.form, ExpressionTable::Form::kTable);
  EXPECT_EQ(table.sampleNames.size(), expected.samples);
  ASSERT_EQ(table.geneNames.size(), expected.genes);
  EXPECT_EQ(table.geneNames[0], expected.firstGene);
  EXPECT_EQ(table.geneColumns.back(), static_cast<int>(expected.genes) + 1);
  EXPECT_EQ(table.labelSource, "column \"labels\" (1)");
  for (const std::vector<double>& values : table.values) ASSERT_EQ(values.size(), expected.samples);

  std::variant<ClassAssignment, InputError> assigned = assignClasses(table.labels, "");
  ASSERT_TRUE(std::holds_alternative<ClassAssignment>(assigned));
  const ClassAssignment& classes = std::get<ClassAssignment>(assigned);
  EXPECT_EQ(classes.rule, ClassAssignment::Rule::kFirstSampleLabel);
  EXPECT_EQ(classes.diseaseLabel, expected.diseaseLabel);
  EXPECT_EQ(classes.normalLabel, expected.normalLabel);
  EXPECT_EQ(classes.labelCounts, (std::vector<std::pair<std::string, int>>{
                                     {expected.diseaseLabel, expected.diseaseCount},
                                     {expected.normalLabel, expected.normalCount}}));
}

TEST(PublicTablesTest, LeukemiaTableReadsAs72SamplesOf7129Genes) {
  expectPublicTable({"leukemia-golub.csv", 72, 7129, "AFFX.BioB.5_at", "ALL", 47, "AML", 25});
}

TEST(PublicTablesTest, ProstateTableReadsAs102SamplesOf12600Genes) {
  expectPublicTable({"prostate-singh.csv", 102, 12600, "V1", "Tumor", 52, "Normal", 50});
}

}  // namespace
}  // namespace geneclub::testing
