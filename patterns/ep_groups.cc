#include "patterns/ep_groups.h"

#include <algorithm>
#include <span>

namespace geneclub {
namespace {

std::uint64_t hashOf(std::span<const std::uint64_t> tidset) {
  std::uint64_t hash = 0;
  for (const std::uint64_t word : tidset) {
    // A multiply-rotate mix per word (the constant is 2^64 / golden ratio).
    hash = std::rotl((hash ^ word) * 0x9E3779B97F4A7C15ull, 31);
  }
  return hash;
}

// Orders the group's items by how many members hold them, descending, ties
// by ascending item number: an insertion sort, stable and allocation-free.
void orderItems(const ClassPatterns& patterns, TidsetGroup& group) {
  std::array<int, kMaxItems> holders{};
  for (const int member : group.members) {
    for (ItemSet rest = patterns.patterns[member]; rest != 0; rest &= rest - 1) {
      ++holders[lowestMember(rest)];
    }
  }
  int count = 0;
  for (int item = 0; item < kMaxItems; ++item) {
    if (holders[item] == 0) continue;
    int place = count++;
    for (; place > 0 && holders[group.itemOrder[place - 1]] < holders[item]; --place) {
      group.itemOrder[place] = group.itemOrder[place - 1];
    }
    group.itemOrder[place] = item;
  }
  group.itemCount = count;
  // The items no member holds follow in ascending order.
  for (int item = 0; item < kMaxItems; ++item) {
    if (holders[item] == 0) group.itemOrder[count++] = item;
  }
}

// Groups the given patterns (in store order, all of one support) by Tidset.
std::vector<TidsetGroup> groupPatterns(const ClassPatterns& patterns, int support,
                                       const std::vector<int>& members) {
  std::vector<TidsetGroup> groups;
  // Open addressing over the groups' first members; a power of two at least
  // twice the number of patterns.
  std::size_t slots = 16;
  while (slots < 2 * members.size()) slots *= 2;
  std::vector<int> groupOfSlot(slots, -1);
  for (const int member : members) {
    const std::span<const std::uint64_t> tidset = patterns.tidset(member);
    std::size_t slot = hashOf(tidset) & (slots - 1);
    while (groupOfSlot[slot] >= 0) {
      const std::span<const std::uint64_t> other =
          patterns.tidset(groups[groupOfSlot[slot]].members.front());
      if (std::equal(tidset.begin(), tidset.end(), other.begin())) break;
      slot = (slot + 1) & (slots - 1);
    }
    if (groupOfSlot[slot] < 0) {
      groupOfSlot[slot] = static_cast<int>(groups.size());
      groups.push_back(TidsetGroup{support, {}, {}, 0});
    }
    groups[groupOfSlot[slot]].members.push_back(member);
  }
  for (TidsetGroup& group : groups) orderItems(patterns, group);
  return groups;
}

}  // namespace

std::vector<TidsetGroup> tidsetGroups(const ClassPatterns& patterns, int support) {
  std::vector<int> members;
  for (int p = 0; p < patterns.patternCount(); ++p) {
    if (patterns.supports[p] == support) members.push_back(p);
  }
  return groupPatterns(patterns, support, members);
}

std::vector<std::vector<TidsetGroup>> groupsBySupport(const ClassPatterns& patterns,
                                                      int lowestSupport) {
  const int highest = patterns.maxSupport();
  const int lowest = std::max(1, lowestSupport);
  if (highest < lowest) return {};
  std::vector<std::vector<int>> membersBySupport(highest - lowest + 1);
  for (int p = 0; p < patterns.patternCount(); ++p) {
    if (patterns.supports[p] >= lowest)
      membersBySupport[highest - patterns.supports[p]].push_back(p);
  }
  std::vector<std::vector<TidsetGroup>> levels;
  for (std::size_t level = 0; level < membersBySupport.size(); ++level) {
    levels.push_back(
        groupPatterns(patterns, highest - static_cast<int>(level), membersBySupport[level]));
  }
  return levels;
}

std::vector<int> orderedItems(const TidsetGroup& group, ItemSet pattern) {
  std::vector<int> items;
  for (int rank = 0; rank < group.itemCount; ++rank) {
    if ((pattern >> group.itemOrder[rank]) & 1) items.push_back(group.itemOrder[rank]);
  }
  return items;
}

}  // namespace geneclub
