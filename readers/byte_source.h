// Where the bytes of an input file come from: a plain file, standard input,
// a gzip file decompressed on the fly, or text already in memory. A source
// hands out its bytes in chunks of the reader's choosing, so that no reader
// ever holds a whole file, and tells a read failure apart from the end of
// the data.

#ifndef GENECLUB_READERS_BYTE_SOURCE_H_
#define GENECLUB_READERS_BYTE_SOURCE_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "readers/input_error.h"

namespace geneclub {

class ByteSource {
 public:
  virtual ~ByteSource() = default;

  // Copies up to `capacity` following bytes into `buffer` and returns how
  // many; 0 at the end of the data and after a failure. Once it returned 0
  // it returns 0 for good.
  virtual std::size_t read(char* buffer, std::size_t capacity) = 0;

  // The number of bytes the source holds, when it is known before reading
  // (a plain regular file); 0 otherwise.
  virtual std::uint64_t sizeHint() const { return 0; }

  // True for compressed data, whose corruption may show only further on.
  virtual bool isCompressed() const { return false; }

  // Empty while reads succeed; after a read failed, what went wrong
  // ("Is a directory", "unexpected end of file"), for a message.
  const std::string& failure() const { return failure_; }

 protected:
  std::string failure_;
};

// The name that stands for `path` in messages: "standard input" for "-".
std::string displayName(const std::string& path);

// Opens `path` for reading: "-" is standard input, a path ending in ".gz" is
// decompressed with zlib (and must hold gzip data), any other path is read
// as it is. A file that cannot be opened gives an InputError of kind
// kUnreadable; memory running out throws std::bad_alloc, as anywhere.
std::variant<std::unique_ptr<ByteSource>, InputError> openByteSource(const std::string& path);

// A source over a copy of `text`.
std::unique_ptr<ByteSource> textByteSource(std::string_view text);

}  // namespace geneclub

#endif  // GENECLUB_READERS_BYTE_SOURCE_H_
