// A sliding window over a ByteSource for the readers that parse it. The
// window holds the bytes from the read position on: it grows by chunks only
// when the parser asks for more, and drops the bytes the parser consumed, so
// its size stays about one record however long the input is. It also stops
// the input at its first NUL byte, which no text file holds: the bytes
// before it are delivered, none after it, and where it stood is kept for
// the reader's message.

#ifndef GENECLUB_READERS_INPUT_BUFFER_H_
#define GENECLUB_READERS_INPUT_BUFFER_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "readers/byte_source.h"

namespace geneclub {

class InputBuffer {
 public:
  explicit InputBuffer(std::unique_ptr<ByteSource> source);
  ~InputBuffer();
  InputBuffer(const InputBuffer&) = delete;
  InputBuffer& operator=(const InputBuffer&) = delete;

  // Readable bytes that always follow the held ones in memory (their values
  // are unspecified), so that a parser may read a few bytes past the end of
  // a field without checking where the held bytes end.
  static constexpr std::size_t kPadding = 8;

  // The unconsumed bytes read so far, followed in memory by kPadding
  // readable bytes. Valid until the next call of readMore or take.
  std::string_view held() const { return std::string_view(data_ + next_, end_ - next_); }

  // Reads at least one more byte onto the held ones, asking the source for
  // a chunk or, when the held bytes are longer than a chunk, for half as
  // many bytes as are held, so that a parser that rescans its record after
  // each call does linear work in all while the window stays within one and
  // a half times the longest record. False at the end of the data, at a NUL
  // byte and after a read failure (nulByte() and source().failure() tell
  // them apart).
  bool readMore();

  // True once the source has delivered its last byte; never after a NUL
  // byte or a failed read, so that a parser does not take the bytes before
  // them for a whole input.
  bool atEnd() const { return sourceDone_ && !nulByte_ && source_->failure().empty(); }

  // Drops the first `count` held bytes.
  // REQUIRES: count <= held().size().
  void consume(std::size_t count) { next_ += count; }

  // Moves up to `capacity` unconsumed bytes into `buffer`, the held ones
  // first, and returns how many; 0 at the end and at a NUL byte. For handing
  // the rest of the input over to a reader with a buffer of its own.
  std::size_t take(char* buffer, std::size_t capacity);

  // Bytes consumed or taken since the start.
  std::uint64_t consumedCount() const { return consumedBefore_ + next_; }

  // The 1-based line of the input and the 1-based byte within it where the
  // first NUL byte stands, once the input has stopped at one.
  struct Place {
    std::uint64_t line = 0;
    std::uint64_t column = 0;
  };
  const std::optional<Place>& nulByte() const { return nulByte_; }

  // Reads up to `limit` more bytes of the source and drops them, past a NUL
  // byte too, so that a read failure in them (corrupt compressed data)
  // shows in source().failure(). Nothing is read after it.
  void discardRest(std::uint64_t limit);

  const ByteSource& source() const { return *source_; }

 private:
  // Reads up to `capacity` bytes from the source into `buffer`, stopping at
  // a NUL byte, and returns how many bytes come before it.
  std::size_t readSource(char* buffer, std::size_t capacity);
  // Makes room for `size` bytes in the window's memory.
  void reserve(std::size_t size);

  std::unique_ptr<ByteSource> source_;
  // The held bytes, then kPadding more, in memory from malloc: realloc may
  // move a large window by remapping its pages instead of copying it, so
  // that growing never holds the old and the new window at once.
  char* data_ = nullptr;
  std::size_t capacity_ = 0;
  std::size_t next_ = 0;              // first unconsumed byte of data_
  std::size_t end_ = 0;               // end of the held bytes in data_
  std::uint64_t consumedBefore_ = 0;  // bytes dropped from the front of data_
  bool sourceDone_ = false;
  // Line ends read from the source so far, and the offset in the input of
  // the byte after the last one: the place of a NUL byte.
  std::uint64_t lineEnds_ = 0;
  std::uint64_t lineStart_ = 0;
  std::uint64_t delivered_ = 0;  // bytes the source has delivered
  std::optional<Place> nulByte_;
};

}  // namespace geneclub

#endif  // GENECLUB_READERS_INPUT_BUFFER_H_
