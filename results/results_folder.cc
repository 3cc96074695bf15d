#include "results/results_folder.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <utility>

namespace geneclub {
namespace {

namespace fs = std::filesystem;

// The partial folders of a target NAME are ".NAME.partial-" and mkdtemp's
// six letters and digits.
constexpr char kPartialMark[] = ".partial-";
constexpr char kTemplateSuffix[] = "XXXXXX";
constexpr std::size_t kTemplateLength = sizeof kTemplateSuffix - 1;

// True when the name is that of some target's partial folder.
bool isPartialName(const std::string& name) {
  const std::size_t mark = name.rfind(kPartialMark);
  constexpr std::size_t kMarkLength = sizeof kPartialMark - 1;
  return name.starts_with('.') && mark != std::string::npos && mark > 0 &&
         name.size() == mark + kMarkLength + kTemplateLength &&
         std::all_of(name.end() - kTemplateLength, name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// A symbolic link chain longer than this is given up on, as Linux does.
constexpr int kMaxLinks = 40;

// Tries to make and lock a partial folder, or to move one into place, this
// many times: a try is lost only to another run that moves or removes a
// folder between two steps of this one.
constexpr int kAttempts = 8;

std::error_code lastSystemError() { return std::error_code(errno, std::system_category()); }

// The folder the user's path names: a symbolic link at its end (a chain of
// them) is read now, once, and the folder it leads to is used from then on.
fs::path resolvedTarget(const std::string& target) {
  std::error_code error;
  fs::path path = fs::absolute(target, error);
  if (error) path = target;
  for (int link = 0; link < kMaxLinks; ++link) {
    const fs::path canonical = fs::weakly_canonical(path, error);
    if (!error) path = canonical;
    if (path.filename().empty()) path = path.parent_path();  // a trailing slash
    if (!fs::is_symlink(fs::symlink_status(path, error))) break;
    const fs::path next = fs::read_symlink(path, error);
    if (error) break;
    path = path.parent_path() / next;  // an absolute `next` replaces the whole
  }
  return path;
}

// Waits for an exclusive lock on the open file.
void lockWaiting(int descriptor) {
  while (::flock(descriptor, LOCK_EX) != 0 && errno == EINTR) {
  }
}

// True when the path still names the open file.
bool namesFile(const fs::path& path, int descriptor) {
  struct stat open, named;
  return ::fstat(descriptor, &open) == 0 && ::lstat(path.c_str(), &named) == 0 &&
         open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

int openFolder(const fs::path& path) {
  return ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

// Removes the partial folders in `parent` whose lock nobody holds: their
// runs are gone. The lock is held while removing, so a run that has just
// made the folder and waits for its lock sees it gone and makes another.
void removeDeadPartials(const fs::path& parent) {
  std::error_code error;
  std::vector<fs::path> candidates;
  for (const fs::directory_entry& entry : fs::directory_iterator(parent, error)) {
    if (isPartialName(entry.path().filename().string())) candidates.push_back(entry.path());
  }
  for (const fs::path& path : candidates) {
    const int descriptor = openFolder(path);
    if (descriptor < 0) continue;
    if (::flock(descriptor, LOCK_EX | LOCK_NB) == 0 && namesFile(path, descriptor)) {
      fs::remove_all(path, error);
    }
    ::close(descriptor);
  }
}

// The permission bits of a new folder: 0777 less the umask.
mode_t newFolderMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0777 & ~mask;
}

}  // namespace

ResultsFolder::ResultsFolder(std::string shownTarget, std::filesystem::path target, bool replace,
                             std::vector<std::string> resultNames)
    : shownTarget_(std::move(shownTarget)),
      target_(std::move(target)),
      replace_(replace),
      resultNames_(std::move(resultNames)) {}

ResultsFolder::ResultsFolder(ResultsFolder&& other) noexcept
    : shownTarget_(std::move(other.shownTarget_)),
      target_(std::move(other.target_)),
      replace_(other.replace_),
      resultNames_(std::move(other.resultNames_)),
      partialPath_(std::move(other.partialPath_)),
      partialLock_(std::exchange(other.partialLock_, -1)),
      committed_(std::exchange(other.committed_, true)) {}

std::variant<ResultsFolder, FolderProblem> ResultsFolder::open(
    const std::string& target, bool replace, std::vector<std::string> resultNames) {
  ResultsFolder folder(target, resolvedTarget(target), replace, std::move(resultNames));
  if (std::optional<FolderProblem> problem = folder.check()) return *std::move(problem);
  if (std::optional<FolderProblem> problem = folder.makePartial()) return *std::move(problem);
  return folder;
}

ResultsFolder::~ResultsFolder() {
  if (!committed_ && !partialPath_.empty()) {
    std::error_code ignored;
    fs::remove_all(partialPath_, ignored);
  }
  if (partialLock_ >= 0) ::close(partialLock_);
}

std::optional<FolderProblem> ResultsFolder::check() const {
  using Kind = FolderProblem::Kind;
  struct stat status;
  if (::lstat(target_.c_str(), &status) != 0) {
    if (errno == ENOENT) return std::nullopt;
    return FolderProblem{Kind::kCannotInspect, shownTarget_, lastSystemError()};
  }
  if (!S_ISDIR(status.st_mode)) return FolderProblem{Kind::kNotAFolder, shownTarget_, {}};
  std::error_code error;
  std::set<std::string> present;
  for (const fs::directory_entry& entry : fs::directory_iterator(target_, error)) {
    const std::string name = entry.path().filename().string();
    const bool resultName =
        std::find(resultNames_.begin(), resultNames_.end(), name) != resultNames_.end();
    std::error_code typeError;
    if (!resultName || entry.symlink_status(typeError).type() == fs::file_type::directory) {
      return FolderProblem{Kind::kForeignEntry, (fs::path(shownTarget_) / name).string(), {}};
    }
    present.insert(name);
  }
  if (error) return FolderProblem{Kind::kCannotInspect, shownTarget_, error};
  if (present.empty()) return std::nullopt;
  if (!replace_) {
    // The first in the order of the names.
    for (const std::string& name : resultNames_) {
      if (present.count(name) != 0) {
        return FolderProblem{Kind::kResultFileExists, (fs::path(shownTarget_) / name).string(), {}};
      }
    }
  }
  // The old files are unlinked from the folder once it is replaced.
  if (::access(target_.c_str(), W_OK | X_OK) != 0) {
    return FolderProblem{Kind::kCannotReplace, shownTarget_, lastSystemError()};
  }
  return std::nullopt;
}

std::optional<FolderProblem> ResultsFolder::makePartial() {
  const fs::path parent = target_.parent_path();
  std::error_code error;
  fs::create_directories(parent, error);
  if (error) return FolderProblem{FolderProblem::Kind::kCannotCreate, parent.string(), error};
  std::string prefix = ".";
  prefix += target_.filename().string();
  prefix += kPartialMark;
  removeDeadPartials(parent);
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    std::string path = (parent / (prefix + kTemplateSuffix)).string();
    if (::mkdtemp(path.data()) == nullptr) {
      return FolderProblem{FolderProblem::Kind::kCannotCreate, parent.string(), lastSystemError()};
    }
    const int descriptor = openFolder(path);
    if (descriptor < 0) continue;
    lockWaiting(descriptor);
    if (namesFile(path, descriptor)) {
      partialPath_ = path;
      partialLock_ = descriptor;
      return std::nullopt;
    }
    // Another run took it for a dead run's folder before it was locked.
    ::close(descriptor);
  }
  return FolderProblem{FolderProblem::Kind::kCannotCreate, parent.string(),
                       std::make_error_code(std::errc::resource_unavailable_try_again)};
}

std::optional<FolderProblem> ResultsFolder::commit() {
  using Kind = FolderProblem::Kind;
  struct stat old;
  const bool replacing = ::lstat(target_.c_str(), &old) == 0 && S_ISDIR(old.st_mode);
  ::fchmod(partialLock_, replacing ? old.st_mode & 07777 : newFolderMode());
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (::renameat2(AT_FDCWD, partialPath_.c_str(), AT_FDCWD, target_.c_str(), RENAME_NOREPLACE) ==
        0) {
      committed_ = true;
      ::close(std::exchange(partialLock_, -1));
      return std::nullopt;
    }
    if (errno != EEXIST) return FolderProblem{Kind::kCannotMove, shownTarget_, lastSystemError()};
    if (std::optional<FolderProblem> problem = check()) {
      if (problem->kind == Kind::kResultFileExists) {
        return FolderProblem{Kind::kTakenMeanwhile, shownTarget_, {}};
      }
      return problem;
    }
    // Locked, so that no other run takes the old folder for a dead partial
    // folder once it stands at the partial name.
    const int oldLock = openFolder(target_);
    if (oldLock < 0) continue;
    lockWaiting(oldLock);
    if (!namesFile(target_, oldLock)) {
      ::close(oldLock);
      continue;
    }
    if (::renameat2(AT_FDCWD, partialPath_.c_str(), AT_FDCWD, target_.c_str(), RENAME_EXCHANGE) !=
        0) {
      const std::error_code reason = lastSystemError();
      ::close(oldLock);
      if (reason == std::errc::no_such_file_or_directory) continue;
      return FolderProblem{Kind::kCannotMove, shownTarget_, reason};
    }
    committed_ = true;
    std::error_code error;
    fs::remove_all(partialPath_, error);
    ::close(oldLock);
    ::close(std::exchange(partialLock_, -1));
    if (error) return FolderProblem{Kind::kCannotRemoveOld, partialPath_.string(), error};
    return std::nullopt;
  }
  return FolderProblem{Kind::kCannotMove, shownTarget_,
                       std::make_error_code(std::errc::resource_unavailable_try_again)};
}

std::string folderProblemMessage(const FolderProblem& problem, const FolderWording& wording) {
  const std::string reason = problem.reason.message();
  const std::string replace(wording.replaceOption);
  const std::string otherFolder(wording.otherFolderOption);
  switch (problem.kind) {
    case FolderProblem::Kind::kNotAFolder:
      return problem.path + " exists and is not a folder; choose another" + otherFolder;
    case FolderProblem::Kind::kForeignEntry:
      return problem.path +
             " is not a result file, and a results folder is replaced whole: choose another "
             "folder" +
             otherFolder;
    case FolderProblem::Kind::kResultFileExists:
      return problem.path + " exists; use " + replace + " to replace it, or choose another folder" +
             otherFolder;
    case FolderProblem::Kind::kTakenMeanwhile:
      return problem.path +
             " received another run's results while this one ran; they are kept and this run's "
             "dropped (" +
             replace + " replaces them)";
    case FolderProblem::Kind::kCannotInspect:
      return "cannot read the folder " + problem.path + ": " + reason;
    case FolderProblem::Kind::kCannotReplace:
      return "cannot replace " + problem.path + ": " + reason;
    case FolderProblem::Kind::kCannotCreate:
      return "cannot create a folder in " + problem.path + ": " + reason;
    case FolderProblem::Kind::kCannotMove:
      return "cannot move the results into " + problem.path + ": " + reason;
    case FolderProblem::Kind::kCannotRemoveOld:
      return "the results are in place, but the earlier ones could not be removed from " +
             problem.path + ": " + reason;
  }
  return "";
}

}  // namespace geneclub
