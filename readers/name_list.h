// The names of a header (or of any long run of fields) kept in one buffer:
// a name costs its bytes and one more, not an object of its own, so that a
// header of millions of names takes memory in proportion to its text. Names
// are appended in order and read back in order, or by index in a short scan.

#ifndef GENECLUB_READERS_NAME_LIST_H_
#define GENECLUB_READERS_NAME_LIST_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace geneclub {

class NameList {
 public:
  // REQUIRES: name holds no NUL byte (the readers stop at one).
  void add(std::string_view name);

  // Drops the names from `count` on.
  // REQUIRES: count <= size().
  void truncate(std::size_t count);

  std::size_t size() const { return count_; }

  // The name at `index`, found from the nearest indexed name before it.
  // REQUIRES: index < size().
  std::string_view operator[](std::size_t index) const { return name(start(index)); }

  // Reads the names in order, from the first.
  class Cursor {
   public:
    explicit Cursor(const NameList& names) : text_(names.text_) {}
    // The next name. REQUIRES: fewer calls than the list holds names.
    std::string_view next();

   private:
    std::string_view text_;
    std::size_t at_ = 0;
  };

 private:
  // One name in this many is indexed: a lookup scans at most this many.
  static constexpr std::size_t kIndexStride = 64;

  // Where name `index` starts in text_ (its end, for index == size()).
  std::size_t start(std::size_t index) const;
  std::string_view name(std::size_t start) const;

  std::string text_;                    // each name followed by a NUL byte
  std::vector<std::uint64_t> indexed_;  // where names 0, kIndexStride, ... start
  std::size_t count_ = 0;
};

}  // namespace geneclub

#endif  // GENECLUB_READERS_NAME_LIST_H_
