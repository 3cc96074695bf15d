// OutputFile is how every result file of the program is written. Every write
// is checked, not only the opening and the final flush: a file that cannot be
// opened or written anywhere does not stop the run, but the text meant for it
// is dropped, the first failure for each file name is reported on the error
// stream as "\t***can't write <name>", and the loss is remembered so that the
// program can end with exit status 1 instead of reporting success.
//
// A file that is replaced is written to a temporary file beside it and
// renamed over it only when every byte was written, so an interrupted or
// failed run leaves the previous file whole.

#ifndef GENECLUB_RESULTS_OUTPUT_FILE_H_
#define GENECLUB_RESULTS_OUTPUT_FILE_H_

#include <memory>
#include <mutex>
#include <ostream>
#include <set>
#include <string>

namespace geneclub {

// The result files of one program run that could not be written. The first
// failure of each file is reported on the error stream; the program asks at
// its end whether anything was lost. Safe to use from several threads.
class OutputFailures {
 public:
  explicit OutputFailures(std::ostream& errors);

  // Reports "\t***can't write <name>\n" unless the name was reported before.
  void report(const std::string& name);

  // True once any failure was reported.
  bool any() const;

 private:
  std::ostream& errors_;
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
  // removed). Calling it again does nothing.
  void close();

 private:
  class Buffer;

  void fail();

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
