// The method dialogue as a real process on a small generated data set: each
// input is checked byte for byte on standard output after the start-up text,
// with its exit status. The result files are checked the same way: append or
// truncate across runs, and a file that cannot be written is reported once
// while the run goes on unchanged.

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "app/gene_club_session.h"
#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

// The interactive program's fixed shape.
constexpr int kGeneCount = kInteractiveGeneCount;
constexpr int kSampleCount = kInteractiveSampleCount;

// Records 0 to 39 are "negative", the rest "positive", as in the real set.
constexpr int kNegativeRecordCount = 40;

constexpr char kWrongNumber[] = "\tWrong command, the input number should be between 1 and 4\n";
constexpr char kTryAgain[] = "\tTry again?(y/n)\n\t";
constexpr char kEnterNumber[] = "\tEnter number (1 - 4)\n\t";

// A valid data file of random integer values; the seed is fixed so that
// every run on it prints the same start-up text. With separatingFirstGene,
// the first gene is 1 in every negative and 2 in every positive record.
std::string randomDataText(bool separatingFirstGene = false) {
  constexpr int kValueRange = 1000;
  std::mt19937 random(62);  // any fixed seed
  std::string text;
  for (int sample = 0; sample < kSampleCount; ++sample) {
    for (int gene = 0; gene < kGeneCount; ++gene) {
      const unsigned value = random() % kValueRange;
      if (gene == 0 && separatingFirstGene) {
        text += sample < kNegativeRecordCount ? "1," : "2,";
        continue;
      }
      text += std::to_string(value) + ",";
    }
    text += sample < kNegativeRecordCount ? "negative\n" : "positive\n";
  }
  return text;
}

// A work directory holding the data file, and the start-up text of the
// program on it: everything it writes up to and including the menu.
class DialogueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    writeFile(dir_.path() / "colonTumor.data", randomDataText());
    const ProcessResult quit = runProgram(dir_.path(), "0\n");
    ASSERT_EQ(quit.exitStatus, 0);
    ASSERT_EQ(quit.err, "");
    startupText_ = quit.out;
    ASSERT_TRUE(startupText_.ends_with("\tPress 1 - 4 to choose corresponding method\n\t"));
  }

  ScopedWorkDir dir_;
  std::string startupText_;
};

TEST_F(DialogueTest, AnswersEveryEntryWithItsDialogue) {
  const std::string wrongThenAsk = std::string(kWrongNumber) + kTryAgain;
  const std::string askedAgain = wrongThenAsk + kEnterNumber;
  const struct {
    const char* what;
    const char* input;
    std::string dialogue;
  } cases[] = {{"0 at once", "0\n", ""},
               {"signed 0 ends at once, the rest is never read", "-0\n5\n", ""},
               {"0 at a later prompt", "7\ny\n0\nn\n", askedAgain},
               {"wrong number, then n", "5\nn\n", wrongThenAsk},
               {"negative number", "-1\nn\n", wrongThenAsk},
               {"upper-case N goes on", "7\nN\n0\n", askedAgain},
               {"the answer is the first non-blank character", "5\n \tno\n", wrongThenAsk},
               {"blank lines before the number", "\n \t\n5\nn\n", wrongThenAsk},
               {"entries share a line", "5 y 6 n\n", askedAgain + wrongThenAsk},
               {"letter at the number prompt", "x\nn\n", wrongThenAsk},
               {"the rest of an unreadable line is dropped", "x 1 y\nn\n", wrongThenAsk},
               {"what follows a number is kept", "9x\nn\n", askedAgain + wrongThenAsk},
               {"sign without digits", "+-1\nn\n", wrongThenAsk},
               {"above int range", "2147483648\nn\n", wrongThenAsk},
               {"below int range", "-2147483649\nn\n", wrongThenAsk},
               {"far out of int range", "99999999999\nn\n", wrongThenAsk},
               {"no input at all", "", ""},
               {"input ends at the number prompt", "5\ny\n", askedAgain},
               {"input ends at the try-again prompt", "5\n", wrongThenAsk},
               {"input ends after a lone minus", "-", wrongThenAsk},
               {"input ends after a lone letter", "5\ny\nx", askedAgain + wrongThenAsk}};
  for (const auto& entry : cases) {
    SCOPED_TRACE(entry.what);
    const ProcessResult result = runProgram(dir_.path(), entry.input);
    EXPECT_EQ(result.out, startupText_ + entry.dialogue);
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.err, "");
  }
}

TEST_F(DialogueTest, NumberThenAnswerOnOneLineRunsTheMethodAndGoesOn) {
  const ProcessResult result = runProgram(dir_.path(), "1 2\n0\n");
  ASSERT_TRUE(result.out.starts_with(startupText_));
  EXPECT_TRUE(result.out.ends_with(std::string("\tMethod 1 is finished, we got the EPs.\n") +
                                   kTryAgain + kEnterNumber));
  EXPECT_EQ(result.exitStatus, 0);
}

TEST_F(DialogueTest, ResultFilesAreAppendedExceptTheRanking) {
  const std::string epText = readFile(dir_.path() / "EP.data");
  const std::string topGenesText = readFile(dir_.path() / "topGenes.data");
  ASSERT_FALSE(epText.empty());
  ASSERT_EQ(runProgram(dir_.path(), "0\n").exitStatus, 0);
  EXPECT_EQ(readFile(dir_.path() / "EP.data"), epText + epText);
  EXPECT_EQ(readFile(dir_.path() / "topGenes.data"), topGenesText);
}

// Each result file is made unwritable by a directory of its name. The run
// must print what a normal run prints, report the file once on the error
// stream, and end with status 1 however the dialogue ends.
TEST_F(DialogueTest, UnwritableResultFileIsReportedOnceAndFailsTheRun) {
  const struct {
    const char* fileName;
    const char* input;
  } cases[] = {{"topGenes.data", "0\n"},
               {"EP.data", "1\nn\n"},
               {"diseaseEP.data", "2\n"},
               {"normalEP.data", "5\nn\n"}};
  for (const auto& blocked : cases) {
    SCOPED_TRACE(blocked.fileName);
    const ProcessResult normal = runProgram(dir_.path(), blocked.input);
    ASSERT_EQ(normal.exitStatus, 0);

    const std::filesystem::path blockedDir = dir_.path() / (std::string("no-") + blocked.fileName);
    std::filesystem::create_directories(blockedDir / blocked.fileName);
    std::filesystem::copy_file(dir_.path() / "colonTumor.data", blockedDir / "colonTumor.data");
    const ProcessResult result = runProgram(blockedDir, blocked.input);
    EXPECT_EQ(result.out, normal.out);
    EXPECT_EQ(result.err, std::string("\t***can't write ") + blocked.fileName + "\n");
    EXPECT_EQ(result.exitStatus, 1);
  }
}

// A file that opens but cannot take the text (a full disk) is lost too.
TEST_F(DialogueTest, FailedWriteIsReportedLikeAFailedOpen) {
  const ProcessResult normal = runProgram(dir_.path(), "1\nn\n");
  const std::filesystem::path fullDisk = dir_.path() / "full";
  std::filesystem::create_directory(fullDisk);
  std::filesystem::copy_file(dir_.path() / "colonTumor.data", fullDisk / "colonTumor.data");
  std::filesystem::create_symlink("/dev/full", fullDisk / "EP.data");
  const ProcessResult result = runProgram(fullDisk, "1\nn\n");
  EXPECT_EQ(result.out, normal.out);
  EXPECT_EQ(result.err, "\t***can't write EP.data\n");
  EXPECT_EQ(result.exitStatus, 1);
}

// A top gene that separates the classes leaves both its divisions pure, so
// no candidate gains anything in the Division method: every step adds the
// top-ranked gene again, as this program's clubs always have.
TEST(InteractiveClubsTest, GainlessStepsAddTheTopRankedGeneAgain) {
  const ScopedWorkDir dir;
  writeFile(dir.path() / "colonTumor.data", randomDataText(true));
  const ProcessResult result = runProgram(dir.path(), "2\nn\n");
  EXPECT_EQ(result.exitStatus, 0);
  std::string clubLine;
  for (int member = 0; member < 20; ++member) clubLine += "1\t";
  EXPECT_NE(result.out.find("Top 1 gene's gene club member\n" + clubLine + "\n\n"),
            std::string::npos)
      << result.out;
}

}  // namespace
}  // namespace geneclub::testing
