#include "readers/byte_source.h"

#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <new>
#include <utility>

namespace geneclub {
namespace {

class FileSource : public ByteSource {
 public:
  // Takes ownership of `file` unless it is standard input.
  explicit FileSource(std::FILE* file) : file_(file) {
    struct stat status;
    if (file != stdin && fstat(fileno(file), &status) == 0 && S_ISREG(status.st_mode)) {
      size_ = static_cast<std::uint64_t>(status.st_size);
    }
  }
  ~FileSource() override {
    if (file_ != stdin) std::fclose(file_);
  }

  std::size_t read(char* buffer, std::size_t capacity) override {
    if (done_) return 0;
    const std::size_t got = std::fread(buffer, 1, capacity, file_);
    if (got == 0) {
      done_ = true;
      if (std::ferror(file_)) failure_ = std::strerror(errno);
    }
    return got;
  }

  std::uint64_t sizeHint() const override { return size_; }

 private:
  std::FILE* file_;
  std::uint64_t size_ = 0;
  bool done_ = false;
};

class GzipSource : public ByteSource {
 public:
  explicit GzipSource(gzFile file) : file_(file) {}
  ~GzipSource() override { gzclose(file_); }

  bool isCompressed() const override { return true; }

  std::size_t read(char* buffer, std::size_t capacity) override {
    if (done_) return 0;
    // gzread takes an unsigned count and returns an int.
    const unsigned request = static_cast<unsigned>(std::min<std::size_t>(capacity, INT_MAX));
    const int got = gzread(file_, buffer, request);
    int code = Z_OK;
    const char* message = gzerror(file_, &code);
    // zlib passes a file without a gzip header through unchanged ("direct"
    // mode); a path that promises gzip data and holds none is corrupt.
    if (gzdirect(file_)) {
      failure_ = "not gzip data";
    } else if (got < 0 || code != Z_OK) {
      failure_ = code == Z_ERRNO ? std::strerror(errno) : message;
      // gzerror prefixes its message with the path, which the caller names.
      if (const char* colon = std::strstr(message, ": "); code != Z_ERRNO && colon != nullptr) {
        failure_ = colon + 2;
      }
    }
    if (!failure_.empty() || got <= 0) {
      done_ = true;
      return 0;
    }
    return static_cast<std::size_t>(got);
  }

 private:
  gzFile file_;
  bool done_ = false;
};

class TextSource : public ByteSource {
 public:
  explicit TextSource(std::string_view text) : text_(text) {}

  std::size_t read(char* buffer, std::size_t capacity) override {
    const std::size_t count = std::min(capacity, text_.size() - next_);
    std::memcpy(buffer, text_.data() + next_, count);
    next_ += count;
    return count;
  }

  std::uint64_t sizeHint() const override { return text_.size(); }

 private:
  std::string text_;
  std::size_t next_ = 0;
};

bool endsWith(const std::string& text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

InputError cannotOpen(const std::string& path) {
  return {InputError::kUnreadable, "cannot open " + path + ": " + std::strerror(errno)};
}

}  // namespace

std::string displayName(const std::string& path) { return path == "-" ? "standard input" : path; }

std::variant<std::unique_ptr<ByteSource>, InputError> openByteSource(const std::string& path) {
  if (path == "-") return std::make_unique<FileSource>(stdin);
  if (endsWith(path, ".gz")) {
    errno = 0;
    gzFile file = gzopen(path.c_str(), "rb");
    // gzopen fails without an errno only when it cannot allocate its state.
    if (file == nullptr && errno == 0) throw std::bad_alloc();
    if (file == nullptr) return cannotOpen(path);
    return std::make_unique<GzipSource>(file);
  }
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return cannotOpen(path);
  return std::make_unique<FileSource>(file);
}

std::unique_ptr<ByteSource> textByteSource(std::string_view text) {
  return std::make_unique<TextSource>(text);
}

}  // namespace geneclub
