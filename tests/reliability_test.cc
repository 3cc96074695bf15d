// The program under hostile but ordinary conditions, run as a real process:
// result files that cannot be written anywhere (a full device, a file-size
// limit), huge data files, a memory limit, two runs in one folder at the same
// time, and standard output that cannot be written. None of them may crash
// the program, lose output silently or leave a result file half written.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

constexpr char kSession[] = "1\ny\n2\ny\n3\ny\n4\nn\n";
constexpr const char* kResultFiles[] = {"topGenes.data", "EP.data", "diseaseEP.data",
                                        "normalEP.data"};

// A folder holding the demo data, whose strong patterns reach both class
// files, so that every result file is written in a session.
class ReliabilityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string command =
        "'" GENECLUB_DEMO_DATA_TOOL "' '" + (dir_.path() / "colonTumor.data").string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
    data_ = readFile(dir_.path() / "colonTumor.data");
  }

  // A fresh folder below the test's folder holding only the data file.
  std::filesystem::path freshFolder(const std::string& name) {
    const std::filesystem::path folder = dir_.path() / name;
    std::filesystem::create_directory(folder);
    writeFile(folder / "colonTumor.data", data_);
    return folder;
  }

  ScopedWorkDir dir_;
  std::string data_;
};

std::vector<std::string> folderEntries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// EP.data split into its analysis sections: the global sections and the
// sections of the methods, sorted, so that two files can be compared as
// multisets of sections.
std::vector<std::string> sectionsOf(const std::string& epText) {
  std::vector<std::size_t> starts;
  for (std::size_t at = 0; (at = epText.find("Global top ", at)) != std::string::npos; ++at) {
    if (at == 0 || epText[at - 1] == '\n') starts.push_back(at);
  }
  for (std::size_t at = 0; (at = epText.find("\nThis is the results", at)) != std::string::npos;
       ++at) {
    starts.push_back(at);
  }
  std::sort(starts.begin(), starts.end());
  std::vector<std::string> sections;
  for (std::size_t i = 0; i < starts.size(); ++i) {
    const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : epText.size();
    sections.push_back(epText.substr(starts[i], end - starts[i]));
  }
  std::sort(sections.begin(), sections.end());
  return sections;
}

std::vector<std::string> sortedLines(const std::string& text) {
  std::vector<std::string> lines = linesOf(text);
  std::sort(lines.begin(), lines.end());
  return lines;
}

// Each result file in turn is a link to a full device, then (for the files
// appended to) a file that the file-size limit lets grow by nothing. Every
// time the console text is that of a normal run, the file is reported once,
// the run fails, and no temporary file is left behind.
TEST_F(ReliabilityTest, WriteFailureAnywhereInAResultFileIsReported) {
  const std::filesystem::path normalFolder = freshFolder("normal");
  const ProcessResult normal = runProgram(normalFolder, kSession);
  ASSERT_EQ(normal.exitStatus, 0);
  ASSERT_EQ(normal.err, "");
  for (const char* name : kResultFiles) {
    SCOPED_TRACE(name);
    ASSERT_FALSE(readFile(normalFolder / name).empty());
    const std::string expectedError = std::string("\t***can't write ") + name + "\n";

    const std::filesystem::path full = freshFolder(std::string("full-") + name);
    std::filesystem::create_symlink("/dev/full", full / name);
    const ProcessResult onFullDevice = runProgram(full, kSession);
    EXPECT_EQ(onFullDevice.out, normal.out);
    EXPECT_EQ(onFullDevice.err, expectedError);
    EXPECT_EQ(onFullDevice.exitStatus, 1);

    // The ranking file is not appended to; the next test limits it.
    if (std::string(name) == "topGenes.data") continue;
    // The limit lets every other file of the session grow as usual; the
    // file under test already stands at it. The shell counts it in blocks of
    // 512 bytes.
    constexpr std::uintmax_t kBlockSize = 512;
    std::uintmax_t limitBlocks = 0;
    for (const char* other : kResultFiles) {
      limitBlocks =
          std::max(limitBlocks, std::filesystem::file_size(normalFolder / other) / kBlockSize + 1);
    }
    const std::filesystem::path limited = freshFolder(std::string("limited-") + name);
    const std::string oldContent(limitBlocks * kBlockSize, 'x');
    writeFile(limited / name, oldContent);
    const ProcessResult overLimit =
        runProgram(limited, kSession, "ulimit -f " + std::to_string(limitBlocks) + ";");
    EXPECT_EQ(overLimit.out, normal.out);
    EXPECT_EQ(overLimit.err, expectedError);
    EXPECT_EQ(overLimit.exitStatus, 1);
    EXPECT_TRUE(readFile(limited / name) == oldContent);
    std::vector<std::string> expectedEntries = {"colonTumor.data"};
    for (const char* other : kResultFiles) expectedEntries.push_back(other);
    std::sort(expectedEntries.begin(), expectedEntries.end());
    EXPECT_EQ(folderEntries(limited), expectedEntries);
  }
}

// A new ranking that cannot be written whole leaves the old one in place.
TEST_F(ReliabilityTest, RankingFileIsReplacedWholeOrNotAtAll) {
  const std::filesystem::path folder = freshFolder("ranking");
  writeFile(folder / "topGenes.data", "the previous ranking\n");
  // 16 blocks of 512 bytes: less than the ranking of 2000 genes.
  const ProcessResult result = runProgram(folder, "0\n", "ulimit -f 16;");
  EXPECT_EQ(result.err, "\t***can't write topGenes.data\n");
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(readFile(folder / "topGenes.data"), "the previous ranking\n");
  // The temporary file of the failed write is gone.
  EXPECT_EQ(folderEntries(folder),
            (std::vector<std::string>{"EP.data", "colonTumor.data", "diseaseEP.data",
                                      "normalEP.data", "topGenes.data"}));

  const ProcessResult unlimited = runProgram(folder, "0\n");
  EXPECT_EQ(unlimited.exitStatus, 0);
  EXPECT_NE(readFile(folder / "topGenes.data"), "the previous ranking\n");
}

TEST_F(ReliabilityTest, HugeRunsOfBlanksTakeNoMemory) {
  const std::filesystem::path plain = freshFolder("plain");
  const ProcessResult normal = runProgram(plain, kSession);
  ASSERT_EQ(normal.exitStatus, 0);

  const std::filesystem::path padded = freshFolder("padded");
  {
    std::ofstream out(padded / "colonTumor.data", std::ios::binary);
    const std::string blanks(1 << 20, ' ');
    for (int mebibyte = 0; mebibyte < 100; ++mebibyte) out << blanks;
    out << data_;
  }
  const ProcessResult result = runProgram(padded, kSession);
  EXPECT_EQ(result.exitStatus, 0);
  EXPECT_EQ(result.out, normal.out);
  EXPECT_EQ(readFile(padded / "EP.data"), readFile(plain / "EP.data"));
  if (!kAddressSanitized) {
    EXPECT_LT(result.peakMemoryKb, 32 * 1024);
  }
}

TEST_F(ReliabilityTest, TokenOverOneMebibyteIsWrongData) {
  const std::filesystem::path folder = freshFolder("token");
  writeFile(folder / "colonTumor.data", std::string(2 << 20, '7') + "," + data_);
  const ProcessResult result = runProgram(folder, "0\n");
  EXPECT_EQ(result.out,
            "***Data preprocessing. Please Wait...\n\t***Wrong data\n\t***Check input data file\n");
  EXPECT_EQ(result.exitStatus, 2);
  if (!kAddressSanitized) {
    EXPECT_LT(result.peakMemoryKb, 32 * 1024);
  }
}

// Under limits on the address space from too small to load the program up
// to enough for the whole session, every run either does not start (the
// loader's status 127), runs out of memory with the message and status 1,
// or completes normally; none aborts.
TEST_F(ReliabilityTest, RunningOutOfMemoryIsAMessageNotACrash) {
  if (kAddressSanitized) {
    GTEST_SKIP() << "the address sanitizer needs more address space than any limit here allows";
  }
  const std::filesystem::path folder = freshFolder("memory");
  const ProcessResult normal = runProgram(folder, kSession);
  ASSERT_EQ(normal.exitStatus, 0);
  int outOfMemoryRuns = 0;
  for (int limitKb = 3000; limitKb <= 30000; limitKb += 1500) {
    SCOPED_TRACE(limitKb);
    const ProcessResult result =
        runProgram(folder, kSession, "ulimit -v " + std::to_string(limitKb) + ";");
    EXPECT_EQ(result.signal, 0);
    if (result.exitStatus == 127) continue;
    if (result.exitStatus == 1) {
      EXPECT_EQ(result.err, "\t***Out of memory\n");
      ++outOfMemoryRuns;
    } else {
      EXPECT_EQ(result.exitStatus, 0);
      EXPECT_EQ(result.out, normal.out);
    }
  }
  EXPECT_GT(outOfMemoryRuns, 0);
}

// Two sessions started together in one folder append whole sections: the
// files hold what two runs one after the other would leave, section for
// section and line for line, in some order.
TEST_F(ReliabilityTest, ConcurrentRunsAppendWholeSections) {
  const std::filesystem::path sequential = freshFolder("sequential");
  ASSERT_EQ(runProgram(sequential, kSession).exitStatus, 0);
  ASSERT_EQ(runProgram(sequential, kSession).exitStatus, 0);

  const std::filesystem::path concurrent = freshFolder("concurrent");
  auto first = std::async(std::launch::async, [&] { return runProgram(concurrent, kSession); });
  auto second = std::async(std::launch::async, [&] { return runProgram(concurrent, kSession); });
  EXPECT_EQ(first.get().exitStatus, 0);
  EXPECT_EQ(second.get().exitStatus, 0);

  EXPECT_EQ(sectionsOf(readFile(concurrent / "EP.data")),
            sectionsOf(readFile(sequential / "EP.data")));
  for (const char* name : {"diseaseEP.data", "normalEP.data"}) {
    EXPECT_EQ(sortedLines(readFile(concurrent / name)), sortedLines(readFile(sequential / name)))
        << name;
  }
  EXPECT_EQ(readFile(concurrent / "topGenes.data"), readFile(sequential / "topGenes.data"));
}

// Console text that cannot be written fails the run; the result files are
// written as usual, and none receives console text.
TEST_F(ReliabilityTest, UnwritableStandardOutputFailsTheRun) {
  const std::filesystem::path normalFolder = freshFolder("console");
  ASSERT_EQ(runProgram(normalFolder, kSession).exitStatus, 0);
  for (const char* redirection : {"exec >/dev/full;", "exec >&-;"}) {
    SCOPED_TRACE(redirection);
    const std::filesystem::path folder = freshFolder(redirection[6] == '/' ? "full" : "closed");
    // The prefix runs before the program's own redirections, so the
    // program's standard output is replaced through a wrapper shell.
    const std::string script = std::string("cd '") + folder.string() + "' && " + redirection +
                               " exec '" GENECLUB_BINARY "' < in 2> err";
    writeFile(folder / "in", kSession);
    const int status = std::system(("sh -c \"" + script + "\"").c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(readFile(folder / "err"), "\t***can't write standard output\n");
    for (const char* name : kResultFiles) {
      EXPECT_EQ(readFile(folder / name), readFile(normalFolder / name)) << name;
    }
  }
}

}  // namespace
}  // namespace geneclub::testing
