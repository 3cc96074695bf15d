#include "readers/line_reader.h"

#include <cstring>
#include <optional>
#include <utility>

#include "readers/table_text.h"

namespace geneclub {

LineReader::LineReader(InputBuffer& input, std::string fileName, int firstLine)
    : input_(input), fileName_(std::move(fileName)), lineNumber_(firstLine - 1) {}

LineReader::Status LineReader::next(std::string_view& line) {
  input_.consume(heldLine_);
  heldLine_ = 0;
  // Where the search for the line end goes on after more was read.
  std::size_t searched = 0;
  while (true) {
    const std::string_view held = input_.held();
    const void* end = std::memchr(held.data() + searched, '\n', held.size() - searched);
    if (end != nullptr || (input_.atEnd() && !held.empty())) {
      const std::size_t size =
          end == nullptr ? held.size() : static_cast<const char*>(end) - held.data();
      heldLine_ = end == nullptr ? size : size + 1;
      line = held.substr(0, size);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      ++lineNumber_;
      return Status::kLine;
    }
    if (input_.atEnd()) return Status::kEnd;
    searched = held.size();
    if (input_.readMore()) continue;
    if (const std::optional<InputBuffer::Place>& nul = input_.nulByte()) {
      error_ = nulByteError(fileName_, nul->line, nul->column);
      return Status::kError;
    }
    if (!input_.source().failure().empty()) {
      error_ = {InputError::kUnreadable,
                "cannot read " + fileName_ + ": " + input_.source().failure()};
      return Status::kError;
    }
  }
}

void dropByteOrderMark(InputBuffer& input) {
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  while (input.held().size() < kByteOrderMark.size() && input.readMore()) {
  }
  if (input.held().starts_with(kByteOrderMark)) input.consume(kByteOrderMark.size());
}

}  // namespace geneclub
