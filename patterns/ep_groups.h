// Equiv case groups: the patterns of one class and one support count,
// grouped by the exact set of tuples that contain them (their Tidset). Both
// the EP.data report and the machine-readable pattern table list patterns
// this way: supports from the highest down, groups in order of their first
// member, members in store order.

#ifndef GENECLUB_PATTERNS_EP_GROUPS_H_
#define GENECLUB_PATTERNS_EP_GROUPS_H_

#include <array>
#include <vector>

#include "patterns/bit_sets.h"
#include "patterns/ep_miner.h"

namespace geneclub {

struct TidsetGroup {
  int support = 0;
  // Indices into the class's patterns, in store order; the first one's
  // Tidset is the group's.
  std::vector<int> members;
  // Items ordered by how many members hold them, descending, ties by
  // ascending item number; the first itemCount are the group's items.
  std::array<int, kMaxItems> itemOrder{};
  int itemCount = 0;
};

// The groups of the patterns whose support is `support`.
std::vector<TidsetGroup> tidsetGroups(const ClassPatterns& patterns, int support);

// The groups of every support from the highest down to lowestSupport (at
// least 1), one list per support, highest first; a support that no pattern
// has gives an empty list.
std::vector<std::vector<TidsetGroup>> groupsBySupport(const ClassPatterns& patterns,
                                                      int lowestSupport);

// The items of a pattern in the group's item order.
std::vector<int> orderedItems(const TidsetGroup& group, ItemSet pattern);

}  // namespace geneclub

#endif  // GENECLUB_PATTERNS_EP_GROUPS_H_
