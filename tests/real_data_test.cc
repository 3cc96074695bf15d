// The program on the shared real data set, compared byte for byte with the
// recorded standard output, exit status and result files. Skipped when the
// shared data directory is absent.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

void expectRunMatches(const std::string& expectedDirName) {
  const std::optional<std::filesystem::path> shared = sharedDataDir();
  if (!shared) GTEST_SKIP() << "the shared data set is absent";
  const std::filesystem::path expected = *shared / expectedDirName;
  ScopedWorkDir dir;
  std::filesystem::copy_file(*shared / "colonTumor.data", dir.path() / "colonTumor.data");

  const ProcessResult result = runProgram(dir.path(), readFile(expected / "stdin"));

  EXPECT_EQ(result.out, readFile(expected / "stdout"));
  EXPECT_EQ(std::to_string(result.exitStatus) + "\n", readFile(expected / "exit_status"));
  EXPECT_EQ(result.err, "");
  for (const char* name : {"topGenes.data", "EP.data", "diseaseEP.data", "normalEP.data"}) {
    ASSERT_TRUE(std::filesystem::exists(dir.path() / name)) << name;
    EXPECT_EQ(readFile(dir.path() / name), readFile(expected / name)) << name;
  }
}

TEST(RealDataTest, StartUpThenQuitMatchesTheRecordedRun) { expectRunMatches("expected-startup"); }

TEST(RealDataTest, SessionOfAllFourMethodsMatchesTheRecordedRun) {
  expectRunMatches("expected-session");
}

}  // namespace
}  // namespace geneclub::testing
