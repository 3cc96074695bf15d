// Minimal transversals (minimal hitting sets) of a family of gene masks, by
// Berge's incremental algorithm (C. Berge, Hypergraphs, 1989): the
// transversals of the first edge are its one-member masks, and each further
// edge E keeps the transversals that hit E and extends each one that misses
// E by one position of E, keeping an extension only when it is minimal.

#ifndef GENECLUB_PATTERNS_MINIMAL_TRANSVERSALS_H_
#define GENECLUB_PATTERNS_MINIMAL_TRANSVERSALS_H_

#include <cstdint>
#include <span>
#include <vector>

#include "patterns/bit_sets.h"

namespace geneclub {

// The one-member masks of mask's members, in ascending position order.
std::vector<GeneMask> singletonMasks(GeneMask mask);

// Finds minimal transversals again and again, reusing its working memory:
// a miner calls it once per target tuple.
class TransversalFinder {
 public:
  // As minimalTransversals(edges); the result stays valid until the next
  // call.
  const std::vector<GeneMask>& find(std::span<const GeneMask> edges);

 private:
  std::vector<std::uint64_t> transversals_, kept_, extensions_, scratch_;
  std::vector<GeneMask> masks_;
};

// Returns every minimal transversal of edges, without repeats, in store
// order (by member count, then lowest member, then order of discovery).
// Discovery order is that of the incremental algorithm: after each edge, the
// kept transversals in their previous store order, then the extensions,
// taken by missing transversal in store order and, within one, by ascending
// added position.
// REQUIRES: edges is not empty, no edge is empty, and edges are in store
// order.
std::vector<GeneMask> minimalTransversals(std::span<const GeneMask> edges);

}  // namespace geneclub

#endif  // GENECLUB_PATTERNS_MINIMAL_TRANSVERSALS_H_
