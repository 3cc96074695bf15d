#include "readers/input_buffer.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace geneclub {
namespace {

// Bytes asked of the source at a time, while the held bytes are fewer: large
// enough that reading costs little per byte and that a parser rarely has to
// rescan a record cut by the end of a chunk, small next to a table's matrix.
constexpr std::size_t kChunkSize = 1 << 18;

}  // namespace

InputBuffer::InputBuffer(std::unique_ptr<ByteSource> source)
    : source_(std::move(source)), buffer_(kPadding, '\0') {}

bool InputBuffer::readMore() {
  if (sourceDone_) return false;
  if (next_ > 0) {
    buffer_.erase(0, next_);
    consumedBefore_ += next_;
    end_ -= next_;
    next_ = 0;
  }
  const std::size_t held = end_;
  std::size_t request = std::max(kChunkSize, held);
  // No more than the source has left (and one byte to see its end), so that
  // a small input costs no full chunk.
  if (const std::uint64_t size = source_->sizeHint(); size > 0) {
    const std::uint64_t delivered = consumedBefore_ + held;
    request = static_cast<std::size_t>(
        std::min<std::uint64_t>(request, size > delivered ? size - delivered + 1 : 1));
  }
  buffer_.resize(held + request + kPadding);
  const std::size_t got = source_->read(buffer_.data() + held, request);
  end_ = held + got;
  buffer_.resize(end_ + kPadding);
  if (got == 0) sourceDone_ = true;
  return got > 0;
}

void InputBuffer::consume(std::size_t count) { next_ += count; }

std::size_t InputBuffer::take(char* buffer, std::size_t capacity) {
  if (next_ < end_) {
    const std::size_t count = std::min(capacity, end_ - next_);
    std::memcpy(buffer, buffer_.data() + next_, count);
    next_ += count;
    return count;
  }
  if (sourceDone_) return 0;
  const std::size_t got = source_->read(buffer, capacity);
  consumedBefore_ += got;
  if (got == 0) sourceDone_ = true;
  return got;
}

}  // namespace geneclub
