// geneclub-batch's results folder as one unit, run as a real process under
// hostile but ordinary conditions: a run killed while it writes, two runs
// into one folder at once, a link and a pipe planted in the folder, a
// read-only folder, a file-size limit, and names and paths that no terminal
// or JSON parser should receive raw. Whatever happens the folder holds one
// run's complete results, a user's other files are never touched, and each
// failure is one line naming the file and the system's reason.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

namespace fs = std::filesystem;

constexpr char kPrefix[] = "geneclub-batch: ";

// Writes a generated table (make_demo_data --table) of the given shape.
void writeTable(const fs::path& path, int genes, int samples, int normalSamples,
                int informative = -1) {
  std::string command = "'" GENECLUB_DEMO_DATA_TOOL "' --table --genes " + std::to_string(genes) +
                        " --samples " + std::to_string(samples) + " --normal-samples " +
                        std::to_string(normalSamples);
  if (informative >= 0) command += " --informative " + std::to_string(informative);
  command += " '" + path.string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
}

// The folder's entries less the hidden partial folders of runs.
std::vector<std::string> visibleEntriesOf(const fs::path& folder) {
  std::vector<std::string> names = entriesOf(folder);
  std::erase_if(names, [](const std::string& name) {
    return name.starts_with(".") && name.find(".partial-") != std::string::npos;
  });
  return names;
}

std::vector<fs::path> partialFoldersIn(const fs::path& folder) {
  std::vector<fs::path> partial;
  for (const std::string& name : entriesOf(folder)) {
    if (name.starts_with(".") && name.find(".partial-") != std::string::npos) {
      partial.push_back(folder / name);
    }
  }
  return partial;
}

// Each file of a results folder with its content.
std::map<std::string, std::string> filesOf(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const std::string& name : entriesOf(folder)) files[name] = readFile(folder / name);
  return files;
}

// The files less run.json, whose stage times differ from run to run.
std::map<std::string, std::string> timelessFilesOf(const fs::path& folder) {
  std::map<std::string, std::string> files = filesOf(folder);
  files.erase("run.json");
  return files;
}

// Starts geneclub-batch in `workDir` without waiting for it; its console
// text is dropped.
pid_t startBatchProgram(const fs::path& workDir, const std::vector<std::string>& arguments) {
  std::vector<std::string> words = {GENECLUB_BATCH_BINARY};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    const int devNull = ::open("/dev/null", O_RDWR);
    ::dup2(devNull, STDOUT_FILENO);
    ::dup2(devNull, STDERR_FILENO);
    if (::chdir(workDir.c_str()) == 0) ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  return child;
}

// The lines of the error stream that do not have the program's prefix.
std::vector<std::string> unprefixedLines(const std::string& errors) {
  std::vector<std::string> lines = linesOf(errors);
  std::erase_if(lines, [](const std::string& line) { return line.starts_with(kPrefix); });
  return lines;
}

// True when the text holds a control character other than tab and line
// feed.
bool holdsControlCharacters(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t' && c != '\n') || byte == 0x7f;
  });
}

class BatchFolderTest : public ::testing::Test {
 protected:
  void SetUp() override { writeTable(dir_.path() / "small.csv", 300, 40, 15); }

  ProcessResult run(const std::vector<std::string>& arguments, const std::string& shellPrefix = "",
                    const std::string& launcher = "") {
    return runBatchProgram(dir_.path(), arguments, "", shellPrefix, launcher);
  }

  ScopedWorkDir dir_;
};

// The rerun is killed as soon as it has written its first file; the table is
// large enough that it still has most of its work ahead then.
TEST_F(BatchFolderTest, KilledRerunLeavesTheEarlierResultsWhole) {
  // Few informative genes among many samples: clubs that take a while.
  writeTable(dir_.path() / "slow.csv", 1000, 400, 200, 5);
  ASSERT_EQ(run({"slow.csv", "--top", "10", "--quiet", "-o", "out"}).exitStatus, 0);
  const std::map<std::string, std::string> earlier = filesOf(dir_.path() / "out");

  const pid_t rerun = startBatchProgram(dir_.path(), {"slow.csv", "--top", "20", "--threads", "1",
                                                      "--force", "--quiet", "-o", "out"});
  ASSERT_GT(rerun, 0);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  int status = 0;
  bool ended = false;
  while (std::chrono::steady_clock::now() < deadline) {
    bool written = readFile(dir_.path() / "out" / "topGenes.data") != earlier.at("topGenes.data");
    for (const fs::path& partial : partialFoldersIn(dir_.path())) {
      written = written || fs::exists(partial / "topGenes.data");
    }
    if (written) {
      ::kill(rerun, SIGKILL);
      break;
    }
    if (::waitpid(rerun, &status, WNOHANG) == rerun) {
      ended = true;
      break;
    }
  }
  if (!ended) {
    ASSERT_EQ(::waitpid(rerun, &status, 0), rerun);
  }
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
      << "the rerun ended before any file of it appeared";

  EXPECT_TRUE(filesOf(dir_.path() / "out") == earlier);
  EXPECT_EQ(visibleEntriesOf(dir_.path()),
            (std::vector<std::string>{"out", "slow.csv", "small.csv"}));
  // The next run into the same parent removes the dead run's folder.
  const ProcessResult next = run({"small.csv", "--quiet", "-o", "other"});
  EXPECT_EQ(next.exitStatus, 0) << next.err;
  EXPECT_TRUE(partialFoldersIn(dir_.path()).empty());
}

// Every name a run may write counts as an earlier run's result, the
// evaluation and the report included: such a folder needs --force, which
// replaces it whole, so no earlier file stands beside the newer run's.
TEST_F(BatchFolderTest, ForcedRunLeavesNoFileOfTheEarlierRun) {
  ProcessResult result =
      run({"small.csv", "--report", "--evaluate", "kfold:4", "--quiet", "-o", "out"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  ASSERT_TRUE(fs::exists(dir_.path() / "out" / "report.html"));
  result = run({"small.csv", "--force", "-o", "out"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_FALSE(fs::exists(dir_.path() / "out" / "report.html"));
  EXPECT_FALSE(fs::exists(dir_.path() / "out" / "evaluation.tsv"));
  EXPECT_EQ(entriesOf(dir_.path() / "out").size(), 8u);

  // A folder holding an earlier evaluation alone.
  fs::create_directory(dir_.path() / "evaluated");
  writeFile(dir_.path() / "evaluated" / "evaluation.tsv", "earlier\n");
  result = run({"small.csv", "-o", "evaluated"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.err, std::string(kPrefix) +
                            "evaluated/evaluation.tsv exists; use --force to replace it, or choose "
                            "another folder with --out\n");
  result = run({"small.csv", "-o", "evaluated", "--force", "--evaluate", "kfold:4"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_NE(readFile(dir_.path() / "evaluated" / "evaluation.tsv"), "earlier\n");
  EXPECT_NE(result.out.find("Results in evaluated/: topGenes.data, EP.data, diseaseEP.data, "
                            "normalEP.data, genes.tsv, clubs.tsv, patterns.tsv, run.json, "
                            "evaluation.tsv\n"),
            std::string::npos)
      << result.out;
}

// Two runs with different options started together into one new folder:
// the folder is one run's, whole. Without --force the run that finishes
// second keeps nothing and says so; with it the later run's folder replaces
// the earlier one's.
TEST_F(BatchFolderTest, ConcurrentRunsLeaveOneRunsFolderWhole) {
  // Runs long enough to overlap.
  writeTable(dir_.path() / "slow.csv", 600, 200, 100, 5);
  const std::vector<std::string> options[2] = {{"--top", "19"}, {"--top", "20"}};
  std::map<std::string, std::string> expected[2];
  for (int k = 0; k < 2; ++k) {
    std::vector<std::string> arguments = {"slow.csv", "--quiet", "-o", "alone" + std::to_string(k)};
    arguments.insert(arguments.end(), options[k].begin(), options[k].end());
    ASSERT_EQ(run(arguments).exitStatus, 0);
    expected[k] = timelessFilesOf(dir_.path() / ("alone" + std::to_string(k)));
  }
  for (const bool force : {false, true}) {
    SCOPED_TRACE(force ? "--force" : "without --force");
    const std::string folder = force ? "forced" : "plain";
    std::future<ProcessResult> runs[2];
    for (int k = 0; k < 2; ++k) {
      std::vector<std::string> arguments = {"slow.csv", "--quiet", "--threads", "1", "-o", folder};
      arguments.insert(arguments.end(), options[k].begin(), options[k].end());
      if (force) arguments.push_back("--force");
      runs[k] = std::async(std::launch::async, [this, arguments] { return run(arguments); });
    }
    const ProcessResult results[2] = {runs[0].get(), runs[1].get()};
    const std::map<std::string, std::string> files = timelessFilesOf(dir_.path() / folder);
    EXPECT_TRUE(files == expected[0] || files == expected[1]);
    if (force) {
      EXPECT_EQ(results[0].exitStatus, 0) << results[0].err;
      EXPECT_EQ(results[1].exitStatus, 0) << results[1].err;
    } else {
      const int winner = results[0].exitStatus == 0 ? 0 : 1;
      EXPECT_EQ(results[winner].exitStatus, 0) << results[winner].err;
      EXPECT_EQ(results[1 - winner].exitStatus, 1);
      // The second message, should the loser start only after the winner
      // has finished.
      const std::string taken = std::string(kPrefix) +
                                "plain received another run's results while this one ran; they "
                                "are kept and this run's dropped (--force replaces them)\n";
      const std::string exists = std::string(kPrefix) +
                                 "plain/topGenes.data exists; use --force to replace it, or "
                                 "choose another folder with --out\n";
      EXPECT_TRUE(results[1 - winner].err == taken || results[1 - winner].err == exists)
          << results[1 - winner].err;
      EXPECT_TRUE(files == expected[winner]);
    }
  }
  EXPECT_TRUE(partialFoldersIn(dir_.path()).empty());
}

// A link planted in the folder is never followed, a pipe never opened: both
// go with the folder they stand in.
TEST_F(BatchFolderTest, PlantedLinkAndPipeAreReplacedNotUsed) {
  ASSERT_EQ(run({"small.csv", "--quiet", "-o", "out"}).exitStatus, 0);
  writeFile(dir_.path() / "outside.txt", "precious\n");
  fs::remove(dir_.path() / "out" / "genes.tsv");
  fs::create_symlink("../outside.txt", dir_.path() / "out" / "genes.tsv");
  fs::remove(dir_.path() / "out" / "patterns.tsv");
  ASSERT_EQ(::mkfifo((dir_.path() / "out" / "patterns.tsv").c_str(), 0644), 0);

  // A run that waits on the pipe is stopped after a minute.
  const ProcessResult result =
      run({"small.csv", "--quiet", "--force", "-o", "out"}, "", "timeout --signal=KILL 60");
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(readFile(dir_.path() / "outside.txt"), "precious\n");
  for (const char* name : {"genes.tsv", "patterns.tsv"}) {
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir_.path() / "out" / name))) << name;
  }
}

// A file-size limit fails some files of a rerun: each is one line with the
// file and the reason, and nothing of the rerun is left anywhere.
TEST_F(BatchFolderTest, FailedWritesSaveNothing) {
  ASSERT_EQ(run({"small.csv", "--quiet", "-o", "out"}).exitStatus, 0);
  const std::map<std::string, std::string> earlier = filesOf(dir_.path() / "out");
  std::size_t largest = 0;
  for (const auto& [name, content] : earlier) largest = std::max(largest, content.size());
  // Half the largest file, in the shell's blocks of 512 bytes.
  constexpr std::size_t kBlockSize = 512;
  const std::size_t limitBlocks = std::max<std::size_t>(1, largest / kBlockSize / 2);
  const ProcessResult result =
      run({"small.csv", "--force", "-o", "out"}, "ulimit -f " + std::to_string(limitBlocks) + ";");
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_TRUE(unprefixedLines(result.err).empty()) << result.err;
  const std::vector<std::string> lines = linesOf(result.err);
  ASSERT_GE(lines.size(), 2u) << result.err;
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    EXPECT_TRUE(lines[i].starts_with(std::string(kPrefix) + "cannot write out/")) << lines[i];
    EXPECT_TRUE(lines[i].ends_with(".tsv: File too large") ||
                lines[i].ends_with(".data: File too large"))
        << lines[i];
    const std::string name = lines[i].substr(lines[i].find("out/") + 4);
    EXPECT_TRUE(earlier.count(name.substr(0, name.find(':')))) << lines[i];
  }
  EXPECT_EQ(lines.back(), std::string(kPrefix) + "no results were saved; out is as it was");
  EXPECT_TRUE(filesOf(dir_.path() / "out") == earlier);
  // No temporary file, no partial folder.
  EXPECT_EQ(entriesOf(dir_.path()), (std::vector<std::string>{"out", "small.csv"}));
}

// The user the tests run as, as a shell word prefix that starts a program as
// an unprivileged user; empty when they run as one already. nullopt when
// no unprivileged user can run the program here.
std::optional<std::string> unprivilegedLauncher(const fs::path& workDir) {
  if (::geteuid() != 0) return "";
  // nobody and nogroup, the users Debian keeps for unprivileged work.
  const std::string launcher = "setpriv --reuid=65534 --regid=65534 --clear-groups";
  const ProcessResult version = runBatchProgram(workDir, {"--version"}, "", "", launcher);
  if (version.exitStatus != 0) return std::nullopt;
  return launcher;
}

// A read-only results folder under a file-size limit, as a user whom the
// folder's permissions bind: the earlier files stay whole, and the message
// says why. A parent where no folder can be made stops the run before it
// reads the data.
TEST_F(BatchFolderTest, ReadOnlyFolderAsAnUnprivilegedUser) {
  fs::permissions(dir_.path(), fs::perms::owner_all | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read |
                                   fs::perms::others_exec);
  const std::optional<std::string> launcher = unprivilegedLauncher(dir_.path());
  if (!launcher) GTEST_SKIP() << "setpriv cannot start the program as user nobody here";
  const fs::path parent = dir_.path() / "user";
  fs::create_directory(parent);
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(parent.c_str(), 65534, 65534), 0);
  }
  const auto runAsUser = [&](const std::vector<std::string>& arguments,
                             const std::string& shellPrefix) {
    return runBatchProgram(parent, arguments, "", shellPrefix, *launcher);
  };

  ProcessResult result = runAsUser({"../small.csv", "--quiet", "-o", "out"}, "");
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  const std::map<std::string, std::string> earlier = filesOf(parent / "out");
  ::chmod((parent / "out").c_str(), 0555);
  result = runAsUser({"../small.csv", "--force", "--top", "7", "-o", "out"}, "ulimit -f 40;");
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.err, std::string(kPrefix) + "cannot replace out: Permission denied\n");
  EXPECT_TRUE(filesOf(parent / "out") == earlier);
  EXPECT_EQ(entriesOf(parent), std::vector<std::string>{"out"});

  ::chmod(parent.c_str(), 0555);
  result = runAsUser({"../missing.csv", "-o", "new"}, "");
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.err, std::string(kPrefix) + "cannot create a folder in " + parent.string() +
                            ": Permission denied\n");
  ::chmod(parent.c_str(), 0755);
  ::chmod((parent / "out").c_str(), 0755);
}

// The checks of -o come before the data are read (missing.csv does not
// exist): a folder holding anything but results is never taken, even with
// --force; an empty one is; a link is followed once.
TEST_F(BatchFolderTest, ResultsFolderChecksComeFirst) {
  fs::create_directory(dir_.path() / "mine");
  writeFile(dir_.path() / "mine" / "EP.data", "earlier\n");
  writeFile(dir_.path() / "mine" / "notes.txt", "keep\n");
  ProcessResult result = run({"missing.csv", "-o", "mine", "--force"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.err, std::string(kPrefix) +
                            "mine/notes.txt is not a result file, and a results folder is replaced "
                            "whole: choose another folder with --out\n");
  EXPECT_EQ(filesOf(dir_.path() / "mine"), (std::map<std::string, std::string>{
                                               {"EP.data", "earlier\n"}, {"notes.txt", "keep\n"}}));

  writeFile(dir_.path() / "plain", "x");
  result = run({"missing.csv", "-o", "plain/out"});
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_TRUE(result.err.starts_with(std::string(kPrefix) + "cannot ")) << result.err;
  EXPECT_NE(result.err.find("Not a directory"), std::string::npos) << result.err;
  EXPECT_EQ(result.err.find("missing.csv"), std::string::npos) << result.err;

  fs::create_directory(dir_.path() / "empty");
  fs::create_directory(dir_.path() / "real");
  fs::create_symlink("real", dir_.path() / "link");
  for (const char* folder : {"empty", "link"}) {
    result = run({"small.csv", "--quiet", "--methods", "none", "-o", folder});
    EXPECT_EQ(result.exitStatus, 0) << folder << result.err;
  }
  EXPECT_EQ(entriesOf(dir_.path() / "empty").size(), 8u);
  EXPECT_TRUE(fs::is_symlink(dir_.path() / "link"));
  EXPECT_EQ(entriesOf(dir_.path() / "real").size(), 8u);
}

// A data path in Latin-1: run.json stays valid JSON, with U+FFFD for the
// byte that is not UTF-8.
TEST_F(BatchFolderTest, PathThatIsNotUtf8) {
  const std::string latin1 = "caf\xe9";
  fs::copy_file(dir_.path() / "small.csv", dir_.path() / (latin1 + ".csv"));
  const ProcessResult result = run({latin1 + ".csv", "--quiet", "--report"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const std::string runJson = readFile(dir_.path() / (latin1 + "-geneclub") / "run.json");
  ASSERT_TRUE(nlohmann::json::accept(runJson)) << runJson;
  EXPECT_EQ(nlohmann::json::parse(runJson)["input"]["path"], "caf\xEF\xBF\xBD.csv");
}

// Control characters in names: spaces on the console and in the tables
// (each row keeps its fields), escaped in run.json and report.html.
TEST_F(BatchFolderTest, ControlCharactersInNames) {
  const std::string escape = "\x1b";
  const std::string del = "\x7f";
  writeFile(dir_.path() / "names.csv",
            "sample,labels,\"ge\tne1\",\"ge\nne2\",\"g" + escape + "[31mred\",g" + del + "4\n" +
                "\"s\t1\",a" + escape + ",1,2,3,4\n\"s\n2\",b" + del + ",5,6,7,8\ns" + escape +
                "3,a" + escape + ",1,3,3,5\n\"s\r4\",b" + del + ",6,7,7,9\n");
  const ProcessResult result =
      run({"names.csv", "--top", "2", "--report", "--evaluate", "loo", "-o", "out"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_FALSE(holdsControlCharacters(result.out)) << result.out;
  EXPECT_NE(result.out.find("class 1 (Disease) is a  with 2 samples"), std::string::npos);
  EXPECT_NE(result.out.find("    1  ge ne1  "), std::string::npos) << result.out;

  const fs::path out = dir_.path() / "out";
  for (const char* table : {"genes.tsv", "clubs.tsv", "patterns.tsv", "evaluation.tsv"}) {
    SCOPED_TRACE(table);
    const std::string text = readFile(out / table);
    EXPECT_FALSE(holdsControlCharacters(text));
    const std::vector<std::string> lines = linesOf(text);
    for (const std::string& line : lines) {
      EXPECT_EQ(fieldsOf(line).size(), fieldsOf(lines[0]).size()) << line;
    }
  }
  const std::string genes = readFile(out / "genes.tsv");
  for (const char* name : {"\tge ne1\t", "\tge ne2\t", "\tg [31mred\t", "\tg 4\t"}) {
    EXPECT_NE(genes.find(name), std::string::npos) << name;
  }
  const std::string evaluation = readFile(out / "evaluation.tsv");
  for (const char* row : {"\ns 1\t", "\ns 2\t", "\ns 3\t", "\ns 4\t"}) {
    EXPECT_NE(evaluation.find(row), std::string::npos) << row;
  }
  const std::string runJson = readFile(out / "run.json");
  EXPECT_FALSE(holdsControlCharacters(runJson));
  EXPECT_EQ(nlohmann::json::parse(runJson)["classes"]["disease"]["label"], "a" + escape);
  EXPECT_EQ(nlohmann::json::parse(runJson)["classes"]["normal"]["label"], "b" + del);
  const std::string page = readFile(out / "report.html");
  EXPECT_EQ(page.find(escape), std::string::npos);
  EXPECT_EQ(page.find(del), std::string::npos);
}

// Under address-space limits from too small to load the program up to
// enough for the run, every run either does not start (the loader's status
// 127), succeeds, or ends with status 1 and one line, which is "out of
// memory" when memory ran out.
TEST_F(BatchFolderTest, RunningOutOfMemoryIsOneLine) {
  if (kAddressSanitized) {
    GTEST_SKIP() << "the address sanitizer needs more address space than any limit here allows";
  }
  int outOfMemoryRuns = 0;
  for (int limitKb = 5000; limitKb <= 40000; limitKb += 2500) {
    SCOPED_TRACE(limitKb);
    const ProcessResult result = run({"small.csv", "--quiet", "--force", "-o", "out"},
                                     "ulimit -v " + std::to_string(limitKb) + ";");
    EXPECT_EQ(result.signal, 0);
    if (result.exitStatus == 127 || result.exitStatus == 0) continue;
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(linesOf(result.err).size(), 1u) << result.err;
    EXPECT_TRUE(result.err.starts_with(kPrefix)) << result.err;
    outOfMemoryRuns += result.err == std::string(kPrefix) + "out of memory\n";
  }
  EXPECT_GT(outOfMemoryRuns, 0);
}

// Console text that cannot be written fails a run that saved its results.
TEST_F(BatchFolderTest, UnwritableStandardOutputIsOneLine) {
  for (const auto& [redirection, reason] :
       {std::pair<std::string, std::string>{">/dev/full", "No space left on device"},
        {">&-", "Bad file descriptor"}}) {
    SCOPED_TRACE(redirection);
    const std::string script = "cd '" + dir_.path().string() +
                               "' && exec '" GENECLUB_BATCH_BINARY
                               "' small.csv --methods none --force -o out " +
                               redirection + " 2> err";
    const int status = std::system(("sh -c \"" + script + "\"").c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(readFile(dir_.path() / "err"),
              std::string(kPrefix) + "cannot write standard output: " + reason + "\n");
    EXPECT_TRUE(fs::exists(dir_.path() / "out" / "run.json"));
  }
}

}  // namespace
}  // namespace geneclub::testing
