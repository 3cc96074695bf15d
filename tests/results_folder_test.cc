// ResultsFolder in-process: which existing folders it takes, where the
// partial folder stands, what commit() leaves in place (alone, after a
// competing run, over an earlier folder), and the removal of dead runs'
// partial folders while live ones are kept.

#include "results/results_folder.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace geneclub::testing {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kNames = {"first.tsv", "second.tsv", "extra.html"};

ResultsFolder openOrFail(const std::string& target, bool replace) {
  auto opened = ResultsFolder::open(target, replace, kNames);
  if (const FolderProblem* problem = std::get_if<FolderProblem>(&opened)) {
    // The test fails with this text.
    throw std::runtime_error(target + ": problem " +
                             std::to_string(static_cast<int>(problem->kind)) + " " + problem->path +
                             " " + problem->reason.message());
  }
  return std::move(std::get<ResultsFolder>(opened));
}

std::optional<FolderProblem> problemOf(const std::string& target, bool replace) {
  auto opened = ResultsFolder::open(target, replace, kNames);
  if (const FolderProblem* problem = std::get_if<FolderProblem>(&opened)) return *problem;
  return std::nullopt;
}

class ResultsFolderTest : public ::testing::Test {
 protected:
  fs::path at(const std::string& name) const { return dir_.path() / name; }

  ScopedWorkDir dir_;
};

TEST_F(ResultsFolderTest, NewFolderAppearsOnlyWhenCommitted) {
  {
    ResultsFolder folder = openOrFail("out", false);
    EXPECT_EQ(folder.partialPath().parent_path(), dir_.path());
    EXPECT_TRUE(folder.partialPath().filename().string().starts_with(".out.partial-"));
    writeFile(folder.partialPath() / "first.tsv", "new\n");
    EXPECT_FALSE(fs::exists(at("out")));
    ASSERT_EQ(folder.commit(), std::nullopt);
  }
  EXPECT_EQ(entriesOf(dir_.path()), std::vector<std::string>{"out"});
  EXPECT_EQ(readFile(at("out") / "first.tsv"), "new\n");
  // A new folder gets the usual permissions, not the private ones of the
  // partial folder.
  struct stat status;
  ASSERT_EQ(::stat(at("out").c_str(), &status), 0);
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(status.st_mode & 07777, 0777 & ~mask);

  // Abandoned: the partial folder goes, the earlier folder stays.
  {
    ResultsFolder folder = openOrFail("out", true);
    writeFile(folder.partialPath() / "first.tsv", "newer\n");
  }
  EXPECT_EQ(entriesOf(dir_.path()), std::vector<std::string>{"out"});
  EXPECT_EQ(readFile(at("out") / "first.tsv"), "new\n");
}

TEST_F(ResultsFolderTest, ReplacingExchangesTheWholeFolder) {
  fs::create_directory(at("out"));
  writeFile(at("out") / "first.tsv", "old\n");
  writeFile(at("out") / "extra.html", "old page\n");
  ::chmod(at("out").c_str(), 0750);
  const std::optional<FolderProblem> refused = problemOf("out", false);
  ASSERT_TRUE(refused);
  EXPECT_EQ(refused->kind, FolderProblem::Kind::kResultFileExists);
  EXPECT_EQ(refused->path, "out/first.tsv");  // the first in the names' order

  {
    ResultsFolder folder = openOrFail("out", true);
    writeFile(folder.partialPath() / "first.tsv", "new\n");
    ASSERT_EQ(folder.commit(), std::nullopt);
  }
  // The earlier run's extra file is gone with its folder.
  EXPECT_EQ(entriesOf(at("out")), std::vector<std::string>{"first.tsv"});
  EXPECT_EQ(readFile(at("out") / "first.tsv"), "new\n");
  EXPECT_EQ(entriesOf(dir_.path()), std::vector<std::string>{"out"});
  struct stat status;
  ASSERT_EQ(::stat(at("out").c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0750u);
}

TEST_F(ResultsFolderTest, FoldersHoldingAnythingElseAreNeverTaken) {
  fs::create_directory(at("notes"));
  writeFile(at("notes") / "first.tsv", "old\n");
  writeFile(at("notes") / "mine.txt", "keep\n");
  fs::create_directories(at("nested") / "second.tsv");  // a folder, not a result file
  fs::create_directory(at("hidden"));
  writeFile(at("hidden") / ".first.tsv", "keep\n");
  for (const char* name : {"notes", "nested", "hidden"}) {
    for (const bool replace : {false, true}) {
      SCOPED_TRACE(std::string(name) + (replace ? " replace" : ""));
      const std::optional<FolderProblem> problem = problemOf(name, replace);
      ASSERT_TRUE(problem);
      EXPECT_EQ(problem->kind, FolderProblem::Kind::kForeignEntry);
    }
  }
  EXPECT_EQ(readFile(at("notes") / "mine.txt"), "keep\n");
  writeFile(at("file"), "x");
  ASSERT_TRUE(problemOf("file", true));
  EXPECT_EQ(problemOf("file", true)->kind, FolderProblem::Kind::kNotAFolder);
  // A parent that cannot hold folders.
  EXPECT_TRUE(problemOf("file/out", true));
  EXPECT_EQ(entriesOf(dir_.path()),
            (std::vector<std::string>{"file", "hidden", "nested", "notes"}));

  // Links and pipes of result names are result files: removed, never
  // followed or opened.
  fs::create_directory(at("planted"));
  fs::create_symlink("../file", at("planted") / "first.tsv");
  ASSERT_EQ(::mkfifo((at("planted") / "second.tsv").c_str(), 0600), 0);
  {
    ResultsFolder folder = openOrFail("planted", true);
    ASSERT_EQ(folder.commit(), std::nullopt);
  }
  EXPECT_TRUE(entriesOf(at("planted")).empty());
  EXPECT_EQ(readFile(at("file")), "x");
}

TEST_F(ResultsFolderTest, EmptyFolderAndLinkedFolderAreUsed) {
  fs::create_directory(at("empty"));
  {
    ResultsFolder folder = openOrFail("empty", false);
    writeFile(folder.partialPath() / "first.tsv", "new\n");
    ASSERT_EQ(folder.commit(), std::nullopt);
  }
  EXPECT_EQ(readFile(at("empty") / "first.tsv"), "new\n");

  // The link is read once; the folder it names is replaced and the link
  // stays a link to it. A link to a missing folder makes that folder.
  fs::create_directory(at("real"));
  fs::create_symlink("real", at("link"));
  fs::create_symlink("later", at("dangling"));
  for (const char* name : {"link", "dangling"}) {
    ResultsFolder folder = openOrFail(name, false);
    writeFile(folder.partialPath() / "first.tsv", name);
    ASSERT_EQ(folder.commit(), std::nullopt);
  }
  EXPECT_TRUE(fs::is_symlink(at("link")));
  EXPECT_EQ(readFile(at("real") / "first.tsv"), "link");
  EXPECT_TRUE(fs::is_symlink(at("dangling")));
  EXPECT_EQ(readFile(at("later") / "first.tsv"), "dangling");
}

TEST_F(ResultsFolderTest, SecondRunIntoANewFolderFindsItTaken) {
  ResultsFolder first = openOrFail("out", false);
  ResultsFolder second = openOrFail("out", false);
  writeFile(first.partialPath() / "first.tsv", "first\n");
  writeFile(second.partialPath() / "first.tsv", "second\n");
  ASSERT_EQ(first.commit(), std::nullopt);
  const std::optional<FolderProblem> problem = second.commit();
  ASSERT_TRUE(problem);
  EXPECT_EQ(problem->kind, FolderProblem::Kind::kTakenMeanwhile);
  EXPECT_EQ(readFile(at("out") / "first.tsv"), "first\n");

  // Replacing, the later run's folder stands whole.
  ResultsFolder third = openOrFail("out", true);
  ResultsFolder fourth = openOrFail("out", true);
  writeFile(third.partialPath() / "second.tsv", "third\n");
  writeFile(fourth.partialPath() / "first.tsv", "fourth\n");
  ASSERT_EQ(third.commit(), std::nullopt);
  ASSERT_EQ(fourth.commit(), std::nullopt);
  EXPECT_EQ(entriesOf(at("out")), std::vector<std::string>{"first.tsv"});
  EXPECT_EQ(readFile(at("out") / "first.tsv"), "fourth\n");
}

TEST_F(ResultsFolderTest, OnlyDeadRunsPartialFoldersAreRemoved) {
  for (const char* name : {".out.partial-dead01", ".out.partial-live01", ".other.partial-dead02",
                           ".out.partial-toolong", "out.partial-shown1", ".out.partial-du.ck"}) {
    fs::create_directory(at(name));
    writeFile(at(name) / "first.tsv", "x");
  }
  // A live run holds its folder's lock. Dead runs' folders go whatever
  // their target; names of another form stay.
  const int live = ::open(at(".out.partial-live01").c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(live, 0);
  ASSERT_EQ(::flock(live, LOCK_EX), 0);
  {
    ResultsFolder folder = openOrFail("out", false);
    std::vector<std::string> expected = {".out.partial-du.ck", ".out.partial-live01",
                                         ".out.partial-toolong", "out.partial-shown1",
                                         folder.partialPath().filename().string()};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entriesOf(dir_.path()), expected);
    // The new run's own folder is locked while it lives.
    const int own = ::open(folder.partialPath().c_str(), O_RDONLY | O_DIRECTORY);
    EXPECT_NE(::flock(own, LOCK_EX | LOCK_NB), 0);
    ::close(own);
  }
  ::close(live);
}

}  // namespace
}  // namespace geneclub::testing
