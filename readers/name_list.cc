#include "readers/name_list.h"

#include <cstring>

namespace geneclub {

void NameList::add(std::string_view name) {
  if (count_ % kIndexStride == 0) indexed_.push_back(text_.size());
  text_.append(name);
  text_.push_back('\0');
  ++count_;
}

void NameList::truncate(std::size_t count) {
  text_.resize(start(count));
  indexed_.resize((count + kIndexStride - 1) / kIndexStride);
  count_ = count;
}

std::size_t NameList::start(std::size_t index) const {
  if (index == count_) return text_.size();
  std::size_t at = indexed_[index / kIndexStride];
  for (std::size_t skip = index % kIndexStride; skip > 0; --skip) {
    at = text_.find('\0', at) + 1;
  }
  return at;
}

std::string_view NameList::name(std::size_t start) const {
  return std::string_view(text_.data() + start, std::strlen(text_.data() + start));
}

std::string_view NameList::Cursor::next() {
  const std::size_t end = text_.find('\0', at_);
  const std::string_view name = text_.substr(at_, end - at_);
  at_ = end + 1;
  return name;
}

}  // namespace geneclub
