#include "patterns/minimal_transversals.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

namespace geneclub {
namespace {

// Extending a minimal transversal T of the earlier edges by a position g of
// the new edge (which T misses) gives a minimal transversal exactly when
// every member of T keeps a private edge: an earlier edge that meets T only
// in that member and does not hold g. (g's own private edge is the new edge.)
// Returns the positions g for which that holds. Since such an extension meets
// the new edge only in g, no two extensions and no kept transversal can be
// equal, so this test alone decides what the subset search against the
// transversals found so far would decide.
GeneMask minimalExtensions(GeneMask transversal, std::span<const GeneMask> earlierEdges) {
  std::array<GeneMask, kMaxPositions> avoidedByPrivateEdge{};
  for (const GeneMask edge : earlierEdges) {
    const GeneMask shared = edge & transversal;
    if (shared != 0 && (shared & (shared - 1)) == 0) {
      avoidedByPrivateEdge[lowestMember(shared)] |= ~edge;
    }
  }
  GeneMask allowed = ~GeneMask{0};
  for (GeneMask rest = transversal; rest != 0; rest &= rest - 1) {
    allowed &= avoidedByPrivateEdge[lowestMember(rest)];
  }
  return allowed;
}

// A transversal with its store-order key (member count times 32 plus lowest
// member) in the bits above its mask, so that the key is read without
// counting bits.
using KeyedMask = std::uint64_t;

constexpr int kKeyShift = kMaxPositions;
// Keys run below (member count up to 32) * 32 + (lowest member below 32).
constexpr int kKeyCount = (kMaxPositions + 1) * 32;

KeyedMask withKey(GeneMask mask, int members, int lowest) {
  return static_cast<KeyedMask>(members * 32 + lowest) << kKeyShift | mask;
}

int keyOf(KeyedMask entry) { return static_cast<int>(entry >> kKeyShift); }
int membersOf(KeyedMask entry) { return keyOf(entry) / 32; }
int lowestOf(KeyedMask entry) { return keyOf(entry) % 32; }
GeneMask maskOf(KeyedMask entry) { return static_cast<GeneMask>(entry); }

// Stable sort of entries by key; scratch is working space. Short runs are
// sorted by insertion, longer ones by counting over the keys present.
void sortByKey(std::vector<KeyedMask>& entries, std::vector<KeyedMask>& scratch) {
  constexpr std::size_t kInsertionSortLimit = 32;
  if (entries.size() <= kInsertionSortLimit) {
    for (std::size_t i = 1; i < entries.size(); ++i) {
      const KeyedMask moving = entries[i];
      std::size_t j = i;
      for (; j > 0 && keyOf(entries[j - 1]) > keyOf(moving); --j) entries[j] = entries[j - 1];
      entries[j] = moving;
    }
    return;
  }
  int lowKey = kKeyCount, highKey = 0;
  for (const KeyedMask entry : entries) {
    lowKey = std::min(lowKey, keyOf(entry));
    highKey = std::max(highKey, keyOf(entry));
  }
  std::array<std::uint32_t, kKeyCount + 1> start;
  std::fill(start.begin(), start.begin() + (highKey - lowKey + 2), 0);
  for (const KeyedMask entry : entries) ++start[keyOf(entry) - lowKey + 1];
  for (int key = 1; key <= highKey - lowKey; ++key) start[key] += start[key - 1];
  scratch.resize(entries.size());
  for (const KeyedMask entry : entries) scratch[start[keyOf(entry) - lowKey]++] = entry;
  entries.swap(scratch);
}

}  // namespace

std::vector<GeneMask> singletonMasks(GeneMask mask) {
  std::vector<GeneMask> singletons;
  for (GeneMask rest = mask; rest != 0; rest &= rest - 1) {
    singletons.push_back(rest & -rest);
  }
  return singletons;
}

std::vector<GeneMask> minimalTransversals(std::span<const GeneMask> edges) {
  TransversalFinder finder;
  return finder.find(edges);
}

const std::vector<GeneMask>& TransversalFinder::find(std::span<const GeneMask> edges) {
  std::vector<KeyedMask>& transversals = transversals_;
  std::vector<KeyedMask>& kept = kept_;
  std::vector<KeyedMask>& extensions = extensions_;
  std::vector<KeyedMask>& scratch = scratch_;
  transversals.clear();
  for (GeneMask rest = edges[0]; rest != 0; rest &= rest - 1) {
    transversals.push_back(withKey(rest & -rest, 1, lowestMember(rest)));
  }
  for (std::size_t k = 1; k < edges.size(); ++k) {
    const GeneMask edge = edges[k];
    // Positions that are transversals on their own already hit the edge; an
    // extension by one of them could not be minimal. They stand first.
    GeneMask singletonUnion = 0;
    for (std::size_t i = 0; i < transversals.size() && membersOf(transversals[i]) == 1; ++i) {
      singletonUnion |= maskOf(transversals[i]);
    }
    const GeneMask newPositions = edge & ~singletonUnion;

    kept.clear();
    extensions.clear();
    for (const KeyedMask entry : transversals) {
      const GeneMask mask = maskOf(entry);
      if ((mask & edge) != 0) {
        kept.push_back(entry);
        continue;
      }
      if (newPositions == 0) continue;
      const GeneMask allowed = newPositions & minimalExtensions(mask, edges.first(k));
      for (GeneMask rest = allowed; rest != 0; rest &= rest - 1) {
        const int added = lowestMember(rest);
        extensions.push_back(withKey(mask | (GeneMask{1} << added), membersOf(entry) + 1,
                                     std::min(lowestOf(entry), added)));
      }
    }
    // Into store order: the kept transversals were stored before the
    // extensions, so on equal keys they come first (std::merge takes the
    // first range first).
    sortByKey(extensions, scratch);
    transversals.clear();
    std::merge(kept.begin(), kept.end(), extensions.begin(), extensions.end(),
               std::back_inserter(transversals),
               [](KeyedMask a, KeyedMask b) { return keyOf(a) < keyOf(b); });
  }
  masks_.clear();
  for (const KeyedMask entry : transversals) masks_.push_back(maskOf(entry));
  return masks_;
}

}  // namespace geneclub
