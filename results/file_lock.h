// FileLock holds an exclusive advisory lock (flock) on a file for its
// lifetime, so that programs that take the same lock before writing the file
// write it one at a time. It guards nothing from writers that do not lock.

#ifndef GENECLUB_RESULTS_FILE_LOCK_H_
#define GENECLUB_RESULTS_FILE_LOCK_H_

#include <string>

namespace geneclub {

class FileLock {
 public:
  // Locks the named file, waiting while another process holds the lock.
  // When create is true a missing file is created empty; otherwise a missing
  // file, like one that cannot be opened, is left unlocked.
  FileLock(const std::string& name, bool create);
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Releases the lock.
  ~FileLock();

 private:
  int descriptor_ = -1;
};

}  // namespace geneclub

#endif  // GENECLUB_RESULTS_FILE_LOCK_H_
