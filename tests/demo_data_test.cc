// The demo data generator: its output is the same on every run, it never
// replaces a file, and a whole session of the program on that output runs
// cleanly and fills every result file.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

// Runs the generator on `output`, its standard error going to the file "err".
int runGenerator(const std::string& output) {
  const int status = std::system(("'" GENECLUB_DEMO_DATA_TOOL "' '" + output + "' 2> err").c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int count(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

// The number reported by the start-up line that holds `label`, or -1.
int startUpCount(const std::string& out, const std::string& label) {
  std::smatch match;
  if (!std::regex_search(out, match, std::regex(label + ": (\\d+)\n"))) return -1;
  return std::stoi(match[1]);
}

TEST(DemoDataTest, GeneratorIsDeterministicAndNeverOverwrites) {
  ScopedWorkDir dir;
  ASSERT_EQ(runGenerator("first.data"), 0);
  ASSERT_EQ(runGenerator("second.data"), 0);
  EXPECT_EQ(readFile("first.data"), readFile("second.data"));

  writeFile("existing.data", "keep me");
  EXPECT_EQ(runGenerator("existing.data"), 1);
  EXPECT_EQ(readFile("existing.data"), "keep me");
  EXPECT_EQ(readFile("err").rfind("make_demo_data: ", 0), 0u) << readFile("err");
}

TEST(DemoDataTest, SessionOfAllFourMethodsFillsEveryResultFile) {
  ScopedWorkDir dir;
  ASSERT_EQ(runGenerator("colonTumor.data"), 0);
  const ProcessResult result = runProgram(dir.path(), "1\ny\n2\ny\n3\ny\n4\nn\n");
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.err, "");
  EXPECT_GT(startUpCount(result.out, "The total incompleted data is"), 0) << result.out;
  EXPECT_GT(startUpCount(result.out, "The total removed duplicated gene is"), 0) << result.out;

  const std::vector<std::string> topGenes = linesOf(readFile("topGenes.data"));
  ASSERT_EQ(topGenes.size(), 3u + 2000u);
  for (int rank = 1; rank <= 2000; ++rank) {
    ASSERT_EQ(topGenes[2 + rank].rfind(std::to_string(rank) + "\t", 0), 0u) << topGenes[2 + rank];
  }

  const std::vector<std::string> ep = linesOf(readFile("EP.data"));
  EXPECT_EQ(count(ep, "Global top 20 gene's EP patterns"), 1);
  // One mining block for the global run and for each of the 4 x 20 clubs.
  const std::string classHeader = "Minimal EPs (grouped by equiv case groups) for ";
  EXPECT_EQ(count(ep, classHeader + "Disease Class (40 tuples):"), 81);
  EXPECT_EQ(count(ep, classHeader + "Normal Class (22 tuples):"), 81);
  for (const char* method : {"INDEPENDENT", "DIVISION", "ITERATIVE", "DIVISION ITERATIVE"}) {
    EXPECT_EQ(count(ep, std::string("This is the results gotten with ") + method + " method"), 1);
  }
  for (int top = 1; top <= 20; ++top) {
    EXPECT_EQ(count(ep, "Top " + std::to_string(top) + " gene's gene club's EP patterns"), 4);
  }
  EXPECT_FALSE(readFile("diseaseEP.data").empty());
  EXPECT_FALSE(readFile("normalEP.data").empty());
}

}  // namespace
}  // namespace geneclub::testing
