// A sliding window over a ByteSource for the readers that parse it. The
// window holds the bytes from the read position on: it grows by chunks only
// when the parser asks for more, and drops the bytes the parser consumed, so
// its size stays about one record however long the input is.

#ifndef GENECLUB_READERS_INPUT_BUFFER_H_
#define GENECLUB_READERS_INPUT_BUFFER_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "readers/byte_source.h"

namespace geneclub {

class InputBuffer {
 public:
  explicit InputBuffer(std::unique_ptr<ByteSource> source);

  // Readable bytes that always follow the held ones in memory (their values
  // are unspecified), so that a parser may read a few bytes past the end of
  // a field without checking where the held bytes end.
  static constexpr std::size_t kPadding = 8;

  // The unconsumed bytes read so far, followed in memory by kPadding
  // readable bytes. Valid until the next call of readMore or take.
  std::string_view held() const { return std::string_view(buffer_.data() + next_, end_ - next_); }

  // Reads at least one more byte onto the held ones, asking the source for
  // a chunk or, when the held bytes are longer than a chunk, for as many
  // bytes as are held, so that a parser that rescans its record after each
  // call does linear work in all. False at the end of the data or after a
  // read failure (source().failure() tells them apart).
  bool readMore();

  // True once the source has delivered its last byte.
  bool atEnd() const { return sourceDone_; }

  // Drops the first `count` held bytes.
  // REQUIRES: count <= held().size().
  void consume(std::size_t count);

  // Moves up to `capacity` unconsumed bytes into `buffer`, the held ones
  // first, and returns how many; 0 at the end. For handing the rest of the
  // input over to a reader with a buffer of its own.
  std::size_t take(char* buffer, std::size_t capacity);

  // Bytes consumed or taken since the start.
  std::uint64_t consumedCount() const { return consumedBefore_ + next_; }

  const ByteSource& source() const { return *source_; }

 private:
  std::unique_ptr<ByteSource> source_;
  std::string buffer_;                // the held bytes, then kPadding more
  std::size_t next_ = 0;              // first unconsumed byte of buffer_
  std::size_t end_ = 0;               // end of the held bytes in buffer_
  std::uint64_t consumedBefore_ = 0;  // bytes dropped from the front of buffer_
  bool sourceDone_ = false;
};

}  // namespace geneclub

#endif  // GENECLUB_READERS_INPUT_BUFFER_H_
