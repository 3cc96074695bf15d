#include "results/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace geneclub {

FileLock::FileLock(const std::string& name, bool create) {
  // Non-blocking open: a pipe in the file's place must not stall the run
  // here; flock itself waits.
  const int flags = create ? O_WRONLY | O_APPEND | O_CREAT : O_RDONLY;
  descriptor_ = ::open(name.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
  if (descriptor_ < 0) return;
  while (::flock(descriptor_, LOCK_EX) != 0 && errno == EINTR) {
  }
}

FileLock::~FileLock() {
  // Closing the descriptor releases the lock.
  if (descriptor_ >= 0) ::close(descriptor_);
}

}  // namespace geneclub
