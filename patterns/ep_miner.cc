#include "patterns/ep_miner.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>

#include "data/gene_club_analyzer.h"
#include "patterns/minimal_transversals.h"

namespace geneclub {

namespace {

std::vector<ItemSet> itemSetsOf(std::span<const SampleTuple> tuples) {
  std::vector<ItemSet> itemSets;
  for (const SampleTuple tuple : tuples) itemSets.push_back(tupleItems(tuple));
  return itemSets;
}

// The tuples (given as item sets) that contain the pattern.
Tidset tidsetOf(ItemSet pattern, const std::vector<ItemSet>& tuples) {
  Tidset tidset = 0;
  for (std::size_t id = 0; id < tuples.size(); ++id) {
    if (isSubset(pattern, tuples[id])) tidset |= Tidset{1} << id;
  }
  return tidset;
}

}  // namespace

ItemSet tupleItems(SampleTuple tuple) { return projectMask(kAllPositions, tuple); }

GeneMask agreementMask(SampleTuple otherTuple, SampleTuple tuple) {
  return ~(otherTuple ^ tuple) & kAllPositions;
}

ItemSet projectMask(GeneMask mask, SampleTuple tuple) {
  ItemSet pattern = 0;
  for (GeneMask rest = mask & kAllPositions; rest != 0; rest &= rest - 1) {
    const int position = lowestMember(rest);
    pattern |= ItemSet{1} << (2 * position + ((tuple >> position) & 1));
  }
  return pattern;
}

bool collectDifferenceSets(SampleTuple tuple, std::span<const SampleTuple> otherTuples,
                           GeneMaskStore& store) {
  for (const SampleTuple other : otherTuples) {
    const GeneMask difference = agreementMask(other, tuple) ^ kAllPositions;
    if (difference == 0) return true;
    store.add(difference);
  }
  return false;
}

std::vector<int> countSupports(std::span<const ItemSet> patterns,
                               std::span<const SampleTuple> targetTuples) {
  const std::vector<ItemSet> tuples = itemSetsOf(targetTuples);
  std::vector<int> counts;
  for (const ItemSet pattern : patterns) counts.push_back(memberCount(tidsetOf(pattern, tuples)));
  return counts;
}

std::vector<ItemSet> selectBySupport(std::span<const ItemSet> patterns, std::span<const int> counts,
                                     int k) {
  std::vector<ItemSet> selected;
  for (std::size_t j = 0; j < patterns.size(); ++j) {
    if (counts[j] == k) selected.push_back(patterns[j]);
  }
  return selected;
}

void writeTidsetGroups(std::span<const ItemSet> selected, std::span<const SampleTuple> targetTuples,
                       EpBlockWriter& writer) {
  const std::vector<ItemSet> tuples = itemSetsOf(targetTuples);

  // Groups of equal Tidsets, in order of their first member.
  std::vector<Tidset> groupTidsets;
  std::vector<std::vector<ItemSet>> groups;
  std::unordered_map<Tidset, std::size_t> groupOfTidset;
  for (const ItemSet pattern : selected) {
    const Tidset tidset = tidsetOf(pattern, tuples);
    const auto [entry, isNew] = groupOfTidset.try_emplace(tidset, groups.size());
    if (isNew) {
      groupTidsets.push_back(tidset);
      groups.emplace_back();
    }
    groups[entry->second].push_back(pattern);
  }

  for (std::size_t g = 0; g < groups.size(); ++g) {
    const int count = memberCount(groupTidsets[g]);
    writer.writeGroupLine(count);
    std::array<int, kItemCount> holders{};
    for (const ItemSet pattern : groups[g]) {
      for (int item = 0; item < kItemCount; ++item) holders[item] += (pattern >> item) & 1;
    }
    std::array<int, kItemCount> itemOrder;
    std::iota(itemOrder.begin(), itemOrder.end(), 0);
    std::stable_sort(itemOrder.begin(), itemOrder.end(),
                     [&holders](int a, int b) { return holders[a] > holders[b]; });
    const int distinctItems = static_cast<int>(
        std::count_if(holders.begin(), holders.end(), [](int h) { return h > 0; }));
    for (const ItemSet pattern : groups[g]) {
      writer.writePatternLine(itemOrder, distinctItems, pattern, count);
    }
  }
}

void mineClass(std::span<const SampleTuple> targetTuples, std::span<const SampleTuple> otherTuples,
               EpBlockWriter& writer) {
  PatternStore patterns;
  GeneMaskStore differences, minimalDifferences;
  for (std::size_t id = 0; id < targetTuples.size(); ++id) {
    const SampleTuple tuple = targetTuples[id];
    // A tuple equal to an earlier one contains the same patterns, all stored.
    if (std::find(targetTuples.begin(), targetTuples.begin() + id, tuple) !=
        targetTuples.begin() + id) {
      continue;
    }
    differences.clear();
    if (collectDifferenceSets(tuple, otherTuples, differences)) continue;
    // Walking the differences smallest first keeps exactly the inclusion-
    // minimal ones, once each, in store order.
    minimalDifferences.clear();
    for (const GeneMask difference : differences.inStoreOrder()) {
      minimalDifferences.addIfMinimal(difference);
    }
    const std::vector<GeneMask>& edges = minimalDifferences.inStoreOrder();
    if (edges.empty()) continue;  // nothing to differ from: no pattern is emerging
    for (const GeneMask transversal : minimalTransversals(edges)) {
      patterns.addIfAbsent(projectMask(transversal, tuple));
    }
  }

  const std::vector<ItemSet> walk = patterns.inStoreOrder();
  const std::vector<int> counts = countSupports(walk, targetTuples);
  const int maxCount = counts.empty() ? 0 : *std::max_element(counts.begin(), counts.end());
  // The three highest counts, also where fewer than three are present.
  for (int k = maxCount; k > maxCount - 3; --k) {
    writeTidsetGroups(selectBySupport(walk, counts, k), targetTuples, writer);
  }
}

void GeneClubAnalyzer::mineMinimalEps(const PositionSamples& samples) const {
  EpBlockWriter writer;
  std::vector<SampleTuple> diseaseTuples, normalTuples;
  for (int sample = 0; sample < kSampleCount; ++sample) {
    const SampleTuple tuple = samples[sample] & kAllPositions;
    (classLabels[sample] == 1 ? diseaseTuples : normalTuples).push_back(tuple);
  }
  writer.startClass(EpClass::kDisease, static_cast<int>(diseaseTuples.size()));
  mineClass(diseaseTuples, normalTuples, writer);
  writer.startClass(EpClass::kNormal, static_cast<int>(normalTuples.size()));
  mineClass(normalTuples, diseaseTuples, writer);
}

}  // namespace geneclub
