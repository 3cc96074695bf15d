#include "patterns/ep_miner.h"

#include <algorithm>
#include <unordered_set>

#include "data/sample_set.h"
#include "patterns/levelled_stores.h"
#include "patterns/minimal_transversals.h"

namespace geneclub {
namespace {

// The tuples without repeats, in order of first appearance.
std::vector<SampleTuple> distinctTuples(std::span<const SampleTuple> tuples) {
  std::vector<SampleTuple> distinct;
  std::unordered_set<SampleTuple> seen;
  for (const SampleTuple tuple : tuples) {
    if (seen.insert(tuple).second) distinct.push_back(tuple);
  }
  return distinct;
}

// Supports and Tidsets of the patterns over the target tuples.
void countSupports(std::span<const SampleTuple> targetTuples, int positions,
                   ClassPatterns& result) {
  std::vector<ItemSet> tupleItemSets;
  for (const SampleTuple tuple : targetTuples)
    tupleItemSets.push_back(tupleItems(tuple, positions));
  result.tidsetWords = wordsFor(static_cast<int>(targetTuples.size()));
  result.tidsets.assign(result.patterns.size() * result.tidsetWords, 0);
  result.supports.assign(result.patterns.size(), 0);
  for (std::size_t p = 0; p < result.patterns.size(); ++p) {
    std::uint64_t* tidset = &result.tidsets[p * result.tidsetWords];
    int support = 0;
    for (std::size_t id = 0; id < tupleItemSets.size(); ++id) {
      if (!isSubset(result.patterns[p], tupleItemSets[id])) continue;
      tidset[id / kWordBits] |= std::uint64_t{1} << (id % kWordBits);
      ++support;
    }
    result.supports[p] = support;
  }
}

}  // namespace

int ClassPatterns::maxSupport() const {
  return supports.empty() ? 0 : *std::max_element(supports.begin(), supports.end());
}

std::vector<int> ClassPatterns::supportingSamples(int pattern) const {
  std::vector<int> supporting;
  for (const int tuple : SampleSet(tidset(pattern)).members()) supporting.push_back(samples[tuple]);
  return supporting;
}

ItemSet tupleItems(SampleTuple tuple, int positions) {
  return projectMask(allPositions(positions), tuple);
}

GeneMask agreementMask(SampleTuple otherTuple, SampleTuple tuple, int positions) {
  return ~(otherTuple ^ tuple) & allPositions(positions);
}

ItemSet projectMask(GeneMask mask, SampleTuple tuple) {
  ItemSet pattern = 0;
  for (GeneMask rest = mask; rest != 0; rest &= rest - 1) {
    const int position = lowestMember(rest);
    pattern |= ItemSet{1} << (2 * position + ((tuple >> position) & 1));
  }
  return pattern;
}

bool collectDifferenceSets(SampleTuple tuple, std::span<const SampleTuple> otherTuples,
                           int positions, std::vector<GeneMask>& differences) {
  for (const SampleTuple other : otherTuples) {
    const GeneMask difference = agreementMask(other, tuple, positions) ^ allPositions(positions);
    if (difference == 0) return true;
    differences.push_back(difference);
  }
  return false;
}

ClassPatterns mineClass(std::span<const SampleTuple> targetTuples,
                        std::span<const SampleTuple> otherTuples, int positions) {
  // Repeated tuples change nothing: a repeated target tuple contains the same
  // patterns, all stored already, and a repeated other tuple gives a
  // difference set equal to one stored before it, which is not minimal.
  const std::vector<SampleTuple> targets = distinctTuples(targetTuples);
  const std::vector<SampleTuple> others = distinctTuples(otherTuples);

  PatternStore patterns;
  std::vector<GeneMask> differences;
  std::vector<std::uint64_t> keyed;
  GeneMaskStore minimalDifferences;
  TransversalFinder transversals;
  for (const SampleTuple tuple : targets) {
    differences.clear();
    if (collectDifferenceSets(tuple, others, positions, differences)) continue;
    // Walking the differences smallest first keeps exactly the inclusion-
    // minimal ones, once each, in store order: by member count, then lowest
    // member, then order of collection.
    keyed.clear();
    for (std::size_t index = 0; index < differences.size(); ++index) {
      const std::uint64_t key =
          memberCount(differences[index]) * kMaxPositions + lowestMember(differences[index]);
      keyed.push_back(key << 32 | index);
    }
    std::sort(keyed.begin(), keyed.end());
    minimalDifferences.clear();
    for (const std::uint64_t entry : keyed) {
      minimalDifferences.addIfMinimal(differences[entry & 0xFFFFFFFF]);
    }
    const std::vector<GeneMask>& edges = minimalDifferences.inStoreOrder();
    if (edges.empty()) continue;  // nothing to differ from: no pattern is emerging
    for (const GeneMask transversal : transversals.find(edges)) {
      patterns.addIfAbsent(projectMask(transversal, tuple));
    }
  }

  ClassPatterns result;
  result.tupleCount = static_cast<int>(targetTuples.size());
  result.patterns = patterns.inStoreOrder();
  countSupports(targetTuples, positions, result);
  return result;
}

MiningResult mineMinimalEps(std::span<const std::uint32_t> samples, std::span<const int> labels,
                            int positions) {
  std::vector<SampleTuple> diseaseTuples, normalTuples;
  MiningResult result;
  result.positions = positions;
  for (std::size_t sample = 0; sample < samples.size(); ++sample) {
    const SampleTuple tuple = samples[sample] & allPositions(positions);
    const bool disease = labels[sample] == 1;
    (disease ? diseaseTuples : normalTuples).push_back(tuple);
    (disease ? result.disease : result.normal).samples.push_back(static_cast<int>(sample));
  }
  std::vector<int> diseaseSamples = std::move(result.disease.samples);
  std::vector<int> normalSamples = std::move(result.normal.samples);
  result.disease = mineClass(diseaseTuples, normalTuples, positions);
  result.normal = mineClass(normalTuples, diseaseTuples, positions);
  result.disease.samples = std::move(diseaseSamples);
  result.normal.samples = std::move(normalSamples);
  return result;
}

}  // namespace geneclub
