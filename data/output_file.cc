#include "data/output_file.h"

#include <iostream>
#include <set>
#include <utility>

namespace geneclub {
namespace {

bool lostOutput = false;

// Records a failure of the named file; only the first one per name is shown.
void reportLostOutput(const std::string& name) {
  static std::set<std::string> reportedNames;
  lostOutput = true;
  if (reportedNames.insert(name).second) std::cerr << "\t***can't write " << name << "\n";
}

std::ios::openmode openMode(OutputFile::Mode mode) {
  return mode == OutputFile::Mode::kAppend ? std::ios::out | std::ios::app
                                           : std::ios::out | std::ios::trunc;
}

}  // namespace

OutputFile::OutputFile(std::string name, Mode mode) : name_(std::move(name)) {
  stream_.open(name_, openMode(mode));
  checkState();
}

OutputFile::~OutputFile() { close(); }

void OutputFile::checkState() {
  if (!stream_.good()) {
    reportLostOutput(name_);
    // Keep the stream failed, so that later writes are dropped quietly.
    stream_.setstate(std::ios::badbit);
  }
}

void OutputFile::close() {
  if (closed_) return;
  closed_ = true;
  const bool wasGood = stream_.good();
  if (stream_.is_open()) stream_.close();
  if (wasGood && stream_.fail()) reportLostOutput(name_);
}

bool outputWasLost() { return lostOutput; }

}  // namespace geneclub
