// OutputFile is how every result file of the program is written. Every write
// is checked, not only the opening and the final flush: a file that cannot be
// opened or written anywhere does not stop the run, but the text meant for it
// is dropped, the first failure for each file name is reported on the error
// stream, and the loss is remembered so that the program can end with exit
// status 1 instead of reporting success.
//
// A file that is replaced is written to a temporary file beside it and
// renamed over it only when every byte was written, so an interrupted or
// failed run leaves the previous file whole.

#ifndef GENECLUB_RESULTS_OUTPUT_FILE_H_
#define GENECLUB_RESULTS_OUTPUT_FILE_H_

#include <filesystem>
#include <memory>
#include <mutex>
#include <ostream>
#include <set>
#include <string>
#include <system_error>

namespace geneclub {

// The result files of one program run that could not be written. The first
// failure of each file is reported on the error stream; the program asks at
// its end whether anything was lost. Safe to use from several threads.
class OutputFailures {
 public:
  // Failures reported as "\t***can't write <name>\n".
  explicit OutputFailures(std::ostream& errors);

  // Failures reported as one line "<prefix>cannot write <shownFolder>/<file
  // name>: <the system's reason>\n": for files written in a folder of their
  // own that will stand in shownFolder, named where the user will look.
  OutputFailures(std::ostream& errors, std::string prefix, std::filesystem::path shownFolder);

  // Reports the failure unless the name was reported before; `reason` is
  // what the system said (an errno value as a std::error_code). An empty
  // reason, a file abandoned as an exception unwinds, is reported in the
  // "***can't write" form only: the prefixed form leaves it to the program's
  // report of the exception.
  void report(const std::string& name, std::error_code reason);

  // True once any failure was reported.
  bool any() const;

 private:
  std::ostream& errors_;
  std::string prefix_;                 // empty for the "***can't write" form
  std::filesystem::path shownFolder_;  // with prefix_ only
  mutable std::mutex mutex_;
  std::set<std::string> reported_;
};

class OutputFile {
 public:
  enum class Mode {
    // The file's content is replaced as a whole. A symbolic link is
    // followed, so that the file it names is replaced; a target that is not
    // a regular file (a device, say) is written directly.
    kReplace,
    // Text is appended; the file is created when missing.
    kAppend,
  };

  // Opens the named file, resolved against the working directory; its
  // failures go to `failures` under the file's name, or under `displayName`
  // when one is given.
  OutputFile(std::string name, Mode mode, OutputFailures& failures, std::string displayName = "");
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Closes the file as close() does.
  ~OutputFile();

  // The stream to write to; writes to a file that failed are discarded.
  std::ostream& stream();

  // Flushes and closes the file; a replaced file takes its new content now,
  // or keeps its old one when anything failed (the temporary file is
  // removed). Calling it again does nothing. A replaced file whose
  // object is destroyed by an exception's unwinding keeps its old content.
  void close();

 private:
  class Buffer;

  // Marks the file failed and reports it with the system's reason.
  void fail(std::error_code reason);

  int uncaughtExceptions_;
  std::string name_;
  std::string displayName_;
  OutputFailures& failures_;
  Mode mode_;
  std::string targetPath_;     // the file that receives the content
  std::string temporaryPath_;  // kReplace only, when a temporary file is used
  int descriptor_ = -1;
  std::unique_ptr<Buffer> buffer_;
  std::unique_ptr<std::ostream> stream_;
  bool failed_ = false;
  bool closed_ = false;
};

}  // namespace geneclub

#endif  // GENECLUB_RESULTS_OUTPUT_FILE_H_
