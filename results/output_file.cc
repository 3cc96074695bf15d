#include "results/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <filesystem>
#include <streambuf>
#include <system_error>
#include <utility>
#include <vector>

namespace geneclub {
namespace {

// The reason for the last failed system call.
std::error_code lastSystemError() { return std::error_code(errno, std::system_category()); }

// Writes all bytes, resuming after interruptions and partial writes. A write
// that takes nothing without saying why counts as an input/output error.
bool writeAll(int descriptor, const char* bytes, std::size_t count) {
  while (count > 0) {
    const ssize_t written = ::write(descriptor, bytes, count);
    if (written < 0 && errno == EINTR) continue;
    if (written == 0) errno = EIO;
    if (written <= 0) return false;
    bytes += written;
    count -= static_cast<std::size_t>(written);
  }
  return true;
}

// The file that a replacement writes: the target of a symbolic link (of a
// chain of them), else the name itself.
std::string resolvedTarget(const std::string& name) {
  std::error_code error;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(name, error);
  return error ? name : resolved.string();
}

// The permission bits a newly created file gets: 0666 less the umask.
mode_t newFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

// A stream buffer over a file descriptor. Bytes are collected and written in
// blocks; the first write that fails marks the file failed and makes the
// stream fail, so that later text is dropped.
class OutputFile::Buffer : public std::streambuf {
 public:
  // Bytes collected before a write.
  static constexpr std::size_t kCapacity = 1 << 16;

  Buffer(int descriptor, OutputFile& file)
      : descriptor_(descriptor), file_(file), bytes_(kCapacity) {
    setp(bytes_.data(), bytes_.data() + bytes_.size());
  }

 protected:
  int_type overflow(int_type c) override {
    if (!drain()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
  }

  int sync() override { return drain() ? 0 : -1; }

 private:
  bool drain() {
    const std::size_t count = static_cast<std::size_t>(pptr() - pbase());
    setp(bytes_.data(), bytes_.data() + bytes_.size());
    if (count == 0) return true;
    if (writeAll(descriptor_, bytes_.data(), count)) return true;
    file_.fail(lastSystemError());
    return false;
  }

  int descriptor_;
  OutputFile& file_;
  std::vector<char> bytes_;
};

OutputFailures::OutputFailures(std::ostream& errors) : errors_(errors) {}

OutputFailures::OutputFailures(std::ostream& errors, std::string prefix,
                               std::filesystem::path shownFolder)
    : errors_(errors), prefix_(std::move(prefix)), shownFolder_(std::move(shownFolder)) {}

void OutputFailures::report(const std::string& name, std::error_code reason) {
  const std::lock_guard lock(mutex_);
  if (prefix_.empty()) {
    if (!reported_.insert(name).second) return;
    errors_ << "\t***can't write " << name << "\n" << std::flush;
  } else if (reason && reported_.insert(name).second) {
    errors_ << prefix_ << "cannot write "
            << (shownFolder_ / std::filesystem::path(name).filename()).string() << ": "
            << reason.message() << "\n"
            << std::flush;
  }
}

bool OutputFailures::any() const {
  const std::lock_guard lock(mutex_);
  return !reported_.empty();
}

OutputFile::OutputFile(std::string name, Mode mode, OutputFailures& failures,
                       std::string displayName)
    : uncaughtExceptions_(std::uncaught_exceptions()),
      name_(std::move(name)),
      displayName_(displayName.empty() ? name_ : std::move(displayName)),
      failures_(failures),
      mode_(mode) {
  if (mode_ == Mode::kAppend) {
    targetPath_ = name_;
    descriptor_ = ::open(name_.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  } else {
    targetPath_ = resolvedTarget(name_);
    struct stat target;
    const bool exists = ::stat(targetPath_.c_str(), &target) == 0;
    if (exists && !S_ISREG(target.st_mode) && !S_ISDIR(target.st_mode)) {
      // A device or pipe cannot be replaced: its content is written directly.
      descriptor_ = ::open(targetPath_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    } else {
      // Beside the target, so that the rename stays within one file system.
      const std::filesystem::path targetFile(targetPath_);
      std::string hiddenName = ".";
      hiddenName += targetFile.filename().string();
      hiddenName += ".XXXXXX";
      std::string pattern = (targetFile.parent_path() / hiddenName).string();
      descriptor_ = ::mkstemp(pattern.data());
      if (descriptor_ >= 0) {
        temporaryPath_ = pattern;
        ::fcntl(descriptor_, F_SETFD, FD_CLOEXEC);
        ::fchmod(descriptor_,
                 exists && S_ISREG(target.st_mode) ? (target.st_mode & 07777) : newFileMode());
      } else {
        // No file can be made beside the target (a read-only folder, say):
        // the target is rewritten in place, as the only way left.
        descriptor_ = ::open(targetPath_.c_str(), O_WRONLY | O_TRUNC | O_CREAT | O_CLOEXEC, 0666);
      }
    }
  }
  const std::error_code openError = descriptor_ < 0 ? lastSystemError() : std::error_code();
  buffer_ = std::make_unique<Buffer>(descriptor_, *this);
  stream_ = std::make_unique<std::ostream>(buffer_.get());
  if (descriptor_ < 0) fail(openError);
}

OutputFile::~OutputFile() {
  // Unwinding from an exception means the text is incomplete: a replaced
  // file keeps its old content.
  if (std::uncaught_exceptions() > uncaughtExceptions_ && !temporaryPath_.empty()) {
    fail(std::error_code());
  }
  close();
}

std::ostream& OutputFile::stream() { return *stream_; }

void OutputFile::fail(std::error_code reason) {
  if (failed_) return;
  failed_ = true;
  failures_.report(displayName_, reason);
  // Keep the stream failed, so that later writes are dropped quietly.
  stream_->setstate(std::ios::badbit);
}

void OutputFile::close() {
  if (closed_) return;
  closed_ = true;
  if (descriptor_ < 0) return;
  if (!failed_) stream_->flush();
  if (::close(descriptor_) != 0) fail(lastSystemError());
  descriptor_ = -1;
  if (temporaryPath_.empty()) return;
  if (!failed_ && std::rename(temporaryPath_.c_str(), targetPath_.c_str()) != 0) {
    fail(lastSystemError());
  }
  if (failed_) ::unlink(temporaryPath_.c_str());
}

}  // namespace geneclub
