// ResultsFolder makes a run's results folder appear whole or not at all. The
// run writes every file into a new hidden folder beside the target,
// ".NAME.partial-XXXXXX" in the same parent, which it keeps locked (flock)
// while it lives; commit() then moves that folder into place with one
// rename: a plain one when the target is missing, never over a folder that
// another run made meanwhile (RENAME_NOREPLACE), or an atomic exchange with
// an existing folder that may be replaced (RENAME_EXCHANGE), whose old
// content is removed afterwards. So a run that fails or is killed leaves the
// target exactly as it was, no file of an earlier run stands beside a newer
// run's, and nothing in the target is ever written in place or through a
// link planted in it. A partial folder whose lock nobody holds belongs to a
// run that is gone; the next run into the same parent, whatever its target,
// removes it.
//
// An existing folder is taken only when it holds nothing but result files
// (entries named like one of the result names that are not folders) or
// nothing at all, so a user's other files are never removed.

#ifndef GENECLUB_RESULTS_RESULTS_FOLDER_H_
#define GENECLUB_RESULTS_RESULTS_FOLDER_H_

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <variant>
#include <vector>

namespace geneclub {

// Why the results cannot go to the target. `path` names the folder or entry
// concerned as the user named the target.
struct FolderProblem {
  enum class Kind {
    kNotAFolder,        // the target exists and is not a folder
    kForeignEntry,      // the target holds `path`, which is no result file
    kResultFileExists,  // the target holds result file `path`; replacing is off
    kTakenMeanwhile,    // another run put its results there meanwhile
    kCannotInspect,     // the target cannot be examined or listed
    kCannotReplace,     // its old content could not be removed (no write access)
    kCannotCreate,      // no new folder can be made in the target's parent
    kCannotMove,        // the finished folder could not be moved into place
    kCannotRemoveOld,   // moved into place, but the old content is left at `path`
  };
  Kind kind;
  std::string path;
  std::error_code reason;  // the system's reason, where there is one
};

// How a program names, in its messages, the way to replace earlier results
// ("--force") and the way to name another folder (" with --out", or "").
struct FolderWording {
  std::string_view replaceOption;
  std::string_view otherFolderOption;
};

// The one-line message for a problem, naming the folder or entry as the
// user named it and the system's reason where there is one.
std::string folderProblemMessage(const FolderProblem& problem, const FolderWording& wording);

class ResultsFolder {
 public:
  // Checks the target folder and makes the partial folder beside it, with
  // the target's missing parents. `target` is the folder as the user named
  // it; a symbolic link there is resolved once and its target used.
  // `resultNames` are the names of every file a run may write; with
  // `replace` false a target holding any of them is a problem.
  static std::variant<ResultsFolder, FolderProblem> open(const std::string& target, bool replace,
                                                         std::vector<std::string> resultNames);

  ResultsFolder(ResultsFolder&& other) noexcept;
  ResultsFolder& operator=(ResultsFolder&&) = delete;
  ResultsFolder(const ResultsFolder&) = delete;
  ResultsFolder& operator=(const ResultsFolder&) = delete;

  // Removes the partial folder unless it was committed.
  ~ResultsFolder();

  // The folder to write the files to until commit().
  const std::filesystem::path& partialPath() const { return partialPath_; }

  // Moves the partial folder into place, with the mode of the folder it
  // replaces (or that of a new folder). The target is checked again first,
  // as another run may have changed it. Returns the problem, if any; after
  // kCannotRemoveOld the new results are in place all the same.
  // REQUIRES: not committed yet.
  std::optional<FolderProblem> commit();

 private:
  ResultsFolder(std::string shownTarget, std::filesystem::path target, bool replace,
                std::vector<std::string> resultNames);

  std::optional<FolderProblem> check() const;
  std::optional<FolderProblem> makePartial();

  std::string shownTarget_;       // as the user named it, for messages
  std::filesystem::path target_;  // resolved: its last part is no link
  bool replace_;
  std::vector<std::string> resultNames_;
  std::filesystem::path partialPath_;
  int partialLock_ = -1;  // descriptor of the partial folder, locked
  bool committed_ = false;
};

}  // namespace geneclub

#endif  // GENECLUB_RESULTS_RESULTS_FOLDER_H_
