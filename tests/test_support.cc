#include "tests/test_support.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>

namespace geneclub::testing {

ScopedWorkDir::ScopedWorkDir() : previous_(std::filesystem::current_path()) {
  std::string pattern = (std::filesystem::temp_directory_path() / "geneclub-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  std::filesystem::current_path(path_);
}

ScopedWorkDir::~ScopedWorkDir() {
  std::filesystem::current_path(previous_);
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

CapturedStdout::CapturedStdout() : previous_(std::cout.rdbuf(captured_.rdbuf())) {}

CapturedStdout::~CapturedStdout() { std::cout.rdbuf(previous_); }

namespace {

// A shell word that stands for the text as it is.
std::string quoted(const std::string& text) {
  std::string word = "'";
  for (const char c : text) {
    if (c == '\'') {
      word += "'\\''";
    } else {
      word += c;
    }
  }
  return word + "'";
}

// Runs the command line (shell text) in workDir with `input` as standard
// input, after shellPrefix.
ProcessResult runCommand(const std::filesystem::path& workDir, const std::string& commandLine,
                         const std::string& input, const std::string& shellPrefix) {
  // Names of their own, so that runs in one folder can overlap.
  static std::atomic<int> runCount{0};
  const std::string run = std::to_string(runCount++);
  const std::filesystem::path inputFile = workDir / (".stdin" + run);
  const std::filesystem::path outFile = workDir / (".stdout" + run);
  const std::filesystem::path errFile = workDir / (".stderr" + run);
  writeFile(inputFile, input);
  const std::string script = "cd " + quoted(workDir.string()) + " && " + shellPrefix + " exec " +
                             commandLine + " < " + quoted(inputFile.string()) + " > " +
                             quoted(outFile.string()) + " 2> " + quoted(errFile.string());
  const pid_t child = fork();
  if (child == 0) {
    execl("/bin/sh", "sh", "-c", script.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  struct rusage usage {};
  ProcessResult result;
  if (child > 0 && wait4(child, &status, 0, &usage) == child) {
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    result.peakMemoryKb = usage.ru_maxrss;
  }
  result.out = readFile(outFile);
  result.err = readFile(errFile);
  std::filesystem::remove(inputFile);
  std::filesystem::remove(outFile);
  std::filesystem::remove(errFile);
  return result;
}

}  // namespace

ProcessResult runProgram(const std::filesystem::path& workDir, const std::string& input,
                         const std::string& shellPrefix) {
  return runCommand(workDir, quoted(GENECLUB_BINARY), input, shellPrefix);
}

ProcessResult runBatchProgram(const std::filesystem::path& workDir,
                              const std::vector<std::string>& arguments, const std::string& input,
                              const std::string& shellPrefix, const std::string& launcher) {
  std::string commandLine = launcher.empty() ? "" : launcher + " ";
  commandLine += quoted(GENECLUB_BATCH_BINARY);
  for (const std::string& argument : arguments) {
    commandLine += ' ';
    commandLine += quoted(argument);
  }
  return runCommand(workDir, commandLine, input, shellPrefix);
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> fieldsOf(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

std::map<ItemSet, int> bruteForceEps(const std::vector<SampleTuple>& targets,
                                     const std::vector<SampleTuple>& others, GeneMask active) {
  const auto itemsHeld = [active](SampleTuple tuple) {
    ItemSet items = 0;
    for (GeneMask rest = active; rest != 0; rest &= rest - 1) {
      const int position = lowestMember(rest);
      items |= ItemSet{1} << (2 * position + ((tuple >> position) & 1));
    }
    return items;
  };
  const auto countHolders = [&itemsHeld](const std::vector<SampleTuple>& tuples, ItemSet pattern) {
    int holders = 0;
    for (const SampleTuple tuple : tuples) holders += isSubset(pattern, itemsHeld(tuple));
    return holders;
  };
  std::map<ItemSet, int> eps;
  for (const SampleTuple target : targets) {
    const ItemSet held = itemsHeld(target);
    for (ItemSet pattern = held; pattern != 0; pattern = (pattern - 1) & held) {
      if (countHolders(others, pattern) != 0) continue;
      bool minimal = true;
      for (ItemSet rest = pattern; rest != 0 && minimal; rest &= rest - 1) {
        minimal = countHolders(others, pattern & ~(rest & -rest)) != 0;
      }
      if (minimal) eps[pattern] = countHolders(targets, pattern);
    }
  }
  return eps;
}

std::optional<std::filesystem::path> sharedDataDir() {
  const std::filesystem::path dir =
      std::filesystem::path(GENECLUB_SOURCE_DIR) / ".." / "shared" / "data";
  if (!std::filesystem::exists(dir / "colonTumor.data")) return std::nullopt;
  return dir;
}

std::vector<std::string> entriesOf(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace geneclub::testing
