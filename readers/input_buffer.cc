#include "readers/input_buffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "readers/byte_scan.h"

namespace geneclub {
namespace {

// Bytes asked of the source at a time, while the held bytes are fewer: large
// enough that reading costs little per byte and that a parser rarely has to
// rescan a record cut by the end of a chunk, small next to a table's matrix.
constexpr std::size_t kChunkSize = 1 << 18;

}  // namespace

InputBuffer::InputBuffer(std::unique_ptr<ByteSource> source) : source_(std::move(source)) {
  reserve(kPadding);
  std::memset(data_, 0, kPadding);
}

InputBuffer::~InputBuffer() { std::free(data_); }

void InputBuffer::reserve(std::size_t size) {
  if (size <= capacity_) return;
  void* grown = std::realloc(data_, size);
  if (grown == nullptr) throw std::bad_alloc();
  data_ = static_cast<char*>(grown);
  capacity_ = size;
}

std::size_t InputBuffer::readSource(char* buffer, std::size_t capacity) {
  if (sourceDone_ || nulByte_) return 0;
  const std::size_t got = source_->read(buffer, capacity);
  if (got == 0) {
    sourceDone_ = true;
    return 0;
  }
  const std::string_view bytes(buffer, got);
  const void* nul = std::memchr(buffer, '\0', got);
  const std::size_t kept = nul == nullptr ? got : static_cast<const char*>(nul) - buffer;
  const std::string_view before = bytes.substr(0, kept);
  lineEnds_ += countByte(before, '\n');
  if (const std::size_t last = before.rfind('\n'); last != std::string_view::npos) {
    lineStart_ = delivered_ + last + 1;
  }
  delivered_ += kept;
  if (nul != nullptr) nulByte_ = Place{lineEnds_ + 1, delivered_ - lineStart_ + 1};
  return kept;
}

bool InputBuffer::readMore() {
  if (sourceDone_ || nulByte_) return false;
  if (next_ > 0) {
    std::memmove(data_, data_ + next_, end_ - next_);
    consumedBefore_ += next_;
    end_ -= next_;
    next_ = 0;
  }
  const std::size_t held = end_;
  std::size_t request = std::max(kChunkSize, held / 2);
  // No more than the source has left (and one byte to see its end), so that
  // a small input costs no full chunk.
  if (const std::uint64_t size = source_->sizeHint(); size > 0) {
    const std::uint64_t delivered = consumedBefore_ + held;
    request = static_cast<std::size_t>(
        std::min<std::uint64_t>(request, size > delivered ? size - delivered + 1 : 1));
  }
  // A window much larger than this read needs (left by a long record) is
  // given back, so that it follows the records as they are now.
  const std::size_t needed = held + request + kPadding;
  if (capacity_ > 2 * needed) {
    if (void* shrunk = std::realloc(data_, needed)) {
      data_ = static_cast<char*>(shrunk);
      capacity_ = needed;
    }
  }
  reserve(needed);
  const std::size_t got = readSource(data_ + held, request);
  end_ = held + got;
  std::memset(data_ + end_, 0, kPadding);
  return got > 0;
}

std::size_t InputBuffer::take(char* buffer, std::size_t capacity) {
  if (next_ < end_) {
    const std::size_t count = std::min(capacity, end_ - next_);
    std::memcpy(buffer, data_ + next_, count);
    next_ += count;
    return count;
  }
  const std::size_t got = readSource(buffer, capacity);
  consumedBefore_ += got;
  return got;
}

void InputBuffer::discardRest(std::uint64_t limit) {
  // Bytes discarded per read.
  constexpr std::size_t kDrainChunk = 1 << 16;
  std::vector<char> sink(kDrainChunk);
  for (std::uint64_t discarded = 0; discarded < limit;) {
    const std::size_t got = source_->read(sink.data(), sink.size());
    if (got == 0) break;
    discarded += got;
  }
  sourceDone_ = true;
}

}  // namespace geneclub
