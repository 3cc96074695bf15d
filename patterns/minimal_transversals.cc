#include "patterns/minimal_transversals.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "patterns/levelled_stores.h"

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
  std::array<GeneMask, kTopGeneCount> avoidedByPrivateEdge{};
  for (const GeneMask edge : earlierEdges) {
    const GeneMask shared = edge & transversal;
    if (shared != 0 && (shared & (shared - 1)) == 0) {
      avoidedByPrivateEdge[lowestMember(shared)] |= ~edge;
    }
  }
  GeneMask allowed = kAllPositions;
  for (GeneMask rest = transversal; rest != 0; rest &= rest - 1) {
    allowed &= avoidedByPrivateEdge[lowestMember(rest)];
  }
  return allowed;
}

}  // namespace

std::vector<GeneMask> singletonMasks(GeneMask mask) {
  std::vector<GeneMask> singletons;
  for (GeneMask rest = mask & kAllPositions; rest != 0; rest &= rest - 1) {
    singletons.push_back(rest & -rest);
  }
  return singletons;
}

std::vector<GeneMask> minimalTransversals(std::span<const GeneMask> edges) {
  std::vector<GeneMask> transversals = singletonMasks(edges[0]);
  std::vector<GeneMask> kept, missing, extensions;
  for (std::size_t k = 1; k < edges.size(); ++k) {
    const GeneMask edge = edges[k];
    // Positions that are transversals on their own already hit the edge; an
    // extension by one of them could not be minimal.
    GeneMask singletonUnion = 0;
    for (const GeneMask t : transversals) {
      if (memberCount(t) == 1) singletonUnion |= t;
    }
    const GeneMask newPositions = edge & ~singletonUnion;

    kept.clear();
    missing.clear();
    for (const GeneMask t : transversals) ((t & edge) != 0 ? kept : missing).push_back(t);

    extensions.clear();
    for (const GeneMask t : missing) {
      const GeneMask allowed = newPositions & minimalExtensions(t, edges.first(k));
      for (GeneMask rest = allowed; rest != 0; rest &= rest - 1)
        extensions.push_back(t | (rest & -rest));
    }
    sortIntoStoreOrder(extensions);
    // Kept transversals were stored before the extensions: on equal keys
    // they come first, as std::merge takes the first range first.
    transversals.clear();
    std::merge(kept.begin(), kept.end(), extensions.begin(), extensions.end(),
               std::back_inserter(transversals), precedesInStoreOrder<GeneMask>);
  }
  return transversals;
}

}  // namespace geneclub
