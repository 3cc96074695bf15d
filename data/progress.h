// The steps of an analysis that a caller may want to show as they happen.
// The engine reports each as an event and prints nothing: the interactive
// program turns the events into its console lines, the batch program into
// its stage times, and other callers ignore them.

#ifndef GENECLUB_DATA_PROGRESS_H_
#define GENECLUB_DATA_PROGRESS_H_

#include <functional>

namespace geneclub {

struct ProgressEvent {
  enum class Step {
    kDataOpened,               // the data file is open; its values are read next
    kIncompleteGenesTakenOut,  // count: genes whose cut separates nothing
    kDuplicateSearchStarted,   // the search for duplicated genes begins
    kDuplicateGenesZeroed,     // count: genes taken out as duplicates
    kGenesRanked,              // the final ranking stands; the global mining begins
  };
  Step step;
  int count = 0;  // the number the step names; 0 for the others
};

// Receives the events in the order of their steps, on the caller's thread.
// An empty listener receives nothing.
using ProgressListener = std::function<void(const ProgressEvent&)>;

// Passes the event to the listener, if there is one.
inline void notify(const ProgressListener& listener, ProgressEvent event) {
  if (listener) listener(event);
}

}  // namespace geneclub

#endif  // GENECLUB_DATA_PROGRESS_H_
