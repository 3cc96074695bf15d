#include "patterns/ep_groups.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <span>

namespace geneclub {

std::vector<TidsetGroup> tidsetGroups(const ClassPatterns& patterns, int support) {
  std::vector<TidsetGroup> groups;
  // Group of each Tidset seen so far, keyed by the Tidset's words.
  std::map<std::vector<std::uint64_t>, std::size_t> groupOfTidset;
  for (int p = 0; p < patterns.patternCount(); ++p) {
    if (patterns.supports[p] != support) continue;
    const std::span<const std::uint64_t> tidset = patterns.tidset(p);
    const auto [entry, isNew] = groupOfTidset.try_emplace(
        std::vector<std::uint64_t>(tidset.begin(), tidset.end()), groups.size());
    if (isNew) groups.push_back(TidsetGroup{support, {}, {}, 0});
    groups[entry->second].members.push_back(p);
  }
  for (TidsetGroup& group : groups) {
    std::array<int, kMaxItems> holders{};
    for (const int member : group.members) {
      for (int item = 0; item < kMaxItems; ++item) {
        holders[item] += (patterns.patterns[member] >> item) & 1;
      }
    }
    std::iota(group.itemOrder.begin(), group.itemOrder.end(), 0);
    std::stable_sort(group.itemOrder.begin(), group.itemOrder.end(),
                     [&holders](int a, int b) { return holders[a] > holders[b]; });
    group.itemCount = static_cast<int>(
        std::count_if(holders.begin(), holders.end(), [](int h) { return h > 0; }));
  }
  return groups;
}

std::vector<int> orderedItems(const TidsetGroup& group, ItemSet pattern) {
  std::vector<int> items;
  for (int rank = 0; rank < group.itemCount; ++rank) {
    if ((pattern >> group.itemOrder[rank]) & 1) items.push_back(group.itemOrder[rank]);
  }
  return items;
}

}  // namespace geneclub
