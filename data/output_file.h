// OutputFile is how every result file of the program is written. A file that
// cannot be opened or written does not stop the run: the text meant for it is
// dropped, the first failure for each file name is reported on the error
// stream as "\t***can't write <name>", and the loss is remembered so that the
// program can end with exit status 1 instead of reporting success.

#ifndef GENECLUB_DATA_OUTPUT_FILE_H_
#define GENECLUB_DATA_OUTPUT_FILE_H_

#include <fstream>
#include <ostream>
#include <string>

namespace geneclub {

class OutputFile {
 public:
  enum class Mode { kTruncate, kAppend };

  // Opens the named file in the working directory, truncated or for
  // appending (created when missing, existing content kept).
  OutputFile(std::string name, Mode mode);
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Closes the file as close() does.
  ~OutputFile();

  // The stream to write to; writes to a file that failed are discarded.
  std::ostream& stream() { return stream_; }

  // Flushes and closes the file. Calling it again does nothing.
  void close();

 private:
  void checkState();

  std::string name_;
  std::ofstream stream_;
  bool closed_ = false;
};

// True once any result file could not be opened or written in this process.
bool outputWasLost();

}  // namespace geneclub

#endif  // GENECLUB_DATA_OUTPUT_FILE_H_
