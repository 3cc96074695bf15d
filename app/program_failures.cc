#include "app/program_failures.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <new>

namespace geneclub {
namespace {

// What reportOutOfMemory writes; set once, before any allocation can fail.
std::string_view outOfMemoryMessage = kOutOfMemoryMessage;

// Called by operator new when memory runs out. It allocates nothing and
// calls only async-signal-safe functions, so it works however little memory
// is left.
[[noreturn]] void reportOutOfMemory() {
  [[maybe_unused]] const ssize_t ignored =
      ::write(STDERR_FILENO, outOfMemoryMessage.data(), outOfMemoryMessage.size());
  ::_exit(kFailureStatus);
}

// Fills a closed standard descriptor with /dev/null opened for reading, so
// that no file the program opens takes its number (console text would land
// in a result file) and writes to a closed standard output still fail.
void occupyClosedStandardDescriptors() {
  for (const int descriptor : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    if (::fcntl(descriptor, F_GETFD) == -1 && errno == EBADF) {
      // open returns the lowest free number, which is this one.
      ::open("/dev/null", O_RDONLY);
    }
  }
}

}  // namespace

void installFailureHandlers(std::string_view message) {
  outOfMemoryMessage = message;
  occupyClosedStandardDescriptors();
  std::set_new_handler(reportOutOfMemory);
  std::signal(SIGXFSZ, SIG_IGN);
}

int reportResourceFailure(const std::exception&) {
  std::cerr << kOutOfMemoryMessage;
  return kFailureStatus;
}

bool standardOutputFailed() {
  std::cout.flush();
  const bool failed = std::cout.fail() || std::fflush(stdout) != 0 || std::ferror(stdout) != 0;
  if (failed) std::cerr << "\t***can't write standard output\n";
  return failed;
}

std::error_code writeStandardOutput(std::string_view text) {
  while (!text.empty()) {
    const ssize_t written = ::write(STDOUT_FILENO, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    // A write that takes nothing without saying why counts as an
    // input/output error.
    if (written == 0) return std::make_error_code(std::errc::io_error);
    if (written < 0) return std::error_code(errno, std::system_category());
    text.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

}  // namespace geneclub
