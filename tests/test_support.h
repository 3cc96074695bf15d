// Helpers shared by the tests: temporary working directories, captured
// standard output, runs of the program as a real process, and access to the
// shared real data set (tests that need it skip when it is absent).

#ifndef GENECLUB_TESTS_TEST_SUPPORT_H_
#define GENECLUB_TESTS_TEST_SUPPORT_H_

#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "patterns/bit_sets.h"

namespace geneclub::testing {

// A fresh directory under the system's temporary directory, made the current
// working directory for the object's lifetime and removed afterwards.
class ScopedWorkDir {
 public:
  ScopedWorkDir();
  ~ScopedWorkDir();
  ScopedWorkDir(const ScopedWorkDir&) = delete;
  ScopedWorkDir& operator=(const ScopedWorkDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
};

// Captures what is written to std::cout during the object's lifetime.
class CapturedStdout {
 public:
  CapturedStdout();
  ~CapturedStdout();
  CapturedStdout(const CapturedStdout&) = delete;
  CapturedStdout& operator=(const CapturedStdout&) = delete;

  std::string text() const { return captured_.str(); }

 private:
  std::ostringstream captured_;
  std::streambuf* previous_;
};

// Whether the programs under test run under the address sanitizer, whose
// shadow memory inflates every process's memory and address space.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kAddressSanitized = true;
#else
inline constexpr bool kAddressSanitized = false;
#endif

struct ProcessResult {
  std::string out;
  std::string err;
  int exitStatus = -1;    // -1 when the process did not exit normally
  int signal = 0;         // the signal that ended it, if one did
  long peakMemoryKb = 0;  // its largest resident set
};

// Runs the geneclub program in `workDir` with `input` as its standard input.
// `shellPrefix`, when given, is shell text run in the process just before
// the program takes it over, such as "ulimit -v 8000;" to limit it.
ProcessResult runProgram(const std::filesystem::path& workDir, const std::string& input,
                         const std::string& shellPrefix = "");

// Runs geneclub-batch in `workDir` with the given arguments (each passed as
// it is) and `input` as its standard input. `shellPrefix` is as for
// runProgram; `launcher`, when given, is shell words that start the program,
// such as "timeout 60" or "setpriv --reuid=nobody ...".
ProcessResult runBatchProgram(const std::filesystem::path& workDir,
                              const std::vector<std::string>& arguments,
                              const std::string& input = "", const std::string& shellPrefix = "",
                              const std::string& launcher = "");

std::string readFile(const std::filesystem::path& path);

// The names of a folder's entries, sorted.
std::vector<std::string> entriesOf(const std::filesystem::path& folder);

// The text's lines, without their line ends.
std::vector<std::string> linesOf(const std::string& text);

// The tab-separated fields of one line.
std::vector<std::string> fieldsOf(const std::string& line);

// Every minimal jumping EP of the target tuples' class with its support,
// found by brute force: the item sets held by some target tuple and by no
// other tuple, none of whose one-item-smaller subsets is held by no other
// tuple. Only positions of `active` vary between tuples; items of the others
// are in every tuple and so in no minimal EP.
std::map<ItemSet, int> bruteForceEps(const std::vector<SampleTuple>& targets,
                                     const std::vector<SampleTuple>& others, GeneMask active);
void writeFile(const std::filesystem::path& path, const std::string& text);

// The directory of the shared real data set, when it is present.
std::optional<std::filesystem::path> sharedDataDir();

}  // namespace geneclub::testing

#endif  // GENECLUB_TESTS_TEST_SUPPORT_H_
