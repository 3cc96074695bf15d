// WorkerThreads makes the thread pool's worker threads end with the
// program: its destructor waits for them, so that no thread outlives main
// (and memory checkers see every thread's memory released). Declare one at
// the top of main, before anything that uses the pool.

#ifndef GENECLUB_APP_WORKER_THREADS_H_
#define GENECLUB_APP_WORKER_THREADS_H_

#include <tbb/global_control.h>

#include <exception>
#include <new>

namespace geneclub {

class WorkerThreads {
 public:
  WorkerThreads() : uncaughtExceptions_(std::uncaught_exceptions()), handle_(tbb::attach{}) {}
  WorkerThreads(const WorkerThreads&) = delete;
  WorkerThreads& operator=(const WorkerThreads&) = delete;

  // Waits for the workers; a pool still in use elsewhere is left to end
  // with the process. So is a pool that an exception (a thread that could
  // not be made, say) leaves behind: waiting for it could last forever.
  ~WorkerThreads() {
    if (std::uncaught_exceptions() > uncaughtExceptions_) {
      handle_.release();
    } else {
      tbb::finalize(handle_, std::nothrow);
    }
  }

 private:
  int uncaughtExceptions_;
  tbb::task_scheduler_handle handle_;
};

}  // namespace geneclub

#endif  // GENECLUB_APP_WORKER_THREADS_H_
