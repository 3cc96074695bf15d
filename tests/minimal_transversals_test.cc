// The gene-mask store (walking order, minimality filter) and the minimal
// transversals. The main check runs the reference algorithm, with its
// bucketed stores and subset search, on thousands of random edge families and
// demands the very same transversals in the very same order.

#include "patterns/minimal_transversals.h"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>
#include <random>
#include <vector>

#include "patterns/levelled_stores.h"

namespace geneclub::testing {
namespace {

GeneMask maskOf(std::initializer_list<int> positions) {
  GeneMask mask = 0;
  for (const int position : positions) mask |= GeneMask{1} << position;
  return mask;
}

// The store of the reference algorithm: level L holds the masks of L members,
// bucket j of a level those whose lowest member is position j, each bucket in
// insertion order; walks go level by level, bucket by bucket.
class BucketedMaskStore {
 public:
  void add(GeneMask mask) { buckets_[memberCount(mask)][lowestMember(mask)].push_back(mask); }

  // A subset of mask has no more members, and its lowest member is one of
  // mask's, so only those buckets are searched.
  void addIfMinimal(GeneMask mask) {
    for (int level = 1; level <= memberCount(mask); ++level) {
      for (GeneMask rest = mask; rest != 0; rest &= rest - 1) {
        for (const GeneMask stored : buckets_[level][lowestMember(rest)]) {
          if ((stored | mask) == mask) return;
        }
      }
    }
    add(mask);
  }

  GeneMask unionOfSingletons() const {
    GeneMask singletons = 0;
    for (const auto& bucket : buckets_[1]) {
      for (const GeneMask mask : bucket) singletons |= mask;
    }
    return singletons;
  }

  std::vector<GeneMask> walk() const {
    std::vector<GeneMask> masks;
    for (int level = 1; level <= kMaxPositions; ++level) {
      for (const auto& bucket : buckets_[level])
        masks.insert(masks.end(), bucket.begin(), bucket.end());
    }
    return masks;
  }

 private:
  std::array<std::array<std::vector<GeneMask>, kMaxPositions>, kMaxPositions + 1> buckets_;
};

// Berge's algorithm as the reference states it: the first edge's singletons;
// then per edge, the transversals hitting it are kept (Ret), those missing it
// (Miss) are extended by every position of the edge that is not a singleton
// transversal already, each extension offered with addIfMinimal.
std::vector<GeneMask> referenceTransversals(const std::vector<GeneMask>& edges) {
  BucketedMaskStore transversals;
  for (int position = 0; position < kMaxPositions; ++position) {
    if ((edges[0] >> position) & 1) transversals.add(GeneMask{1} << position);
  }
  for (std::size_t k = 1; k < edges.size(); ++k) {
    const GeneMask edge = edges[k];
    const GeneMask newPositions = edge & ~transversals.unionOfSingletons();
    BucketedMaskStore kept, missing;
    for (const GeneMask t : transversals.walk()) ((t & edge) != 0 ? kept : missing).add(t);
    for (const GeneMask t : missing.walk()) {
      for (int position = 0; position < kMaxPositions; ++position) {
        if ((newPositions >> position) & 1) kept.addIfMinimal(t | (GeneMask{1} << position));
      }
    }
    transversals = kept;
  }
  return transversals.walk();
}

// The walk of a store after adding `added`, then offering `offered` with
// addIfMinimal.
std::vector<GeneMask> walkOf(std::initializer_list<GeneMask> added,
                             std::initializer_list<GeneMask> offered = {}) {
  GeneMaskStore store;
  for (const GeneMask mask : added) store.add(mask);
  for (const GeneMask mask : offered) store.addIfMinimal(mask);
  return store.inStoreOrder();
}

TEST(GeneMaskStoreTest, WalksByMemberCountThenLowestMemberThenInsertion) {
  EXPECT_EQ(walkOf({maskOf({3, 9}), maskOf({4})}), (std::vector{maskOf({4}), maskOf({3, 9})}));
  EXPECT_EQ(walkOf({maskOf({4, 9}), maskOf({3, 9})}),
            (std::vector{maskOf({3, 9}), maskOf({4, 9})}));
  EXPECT_EQ(walkOf({maskOf({5, 8}), maskOf({5, 6}), maskOf({5, 8})}),
            (std::vector{maskOf({5, 8}), maskOf({5, 6}), maskOf({5, 8})}));
}

TEST(GeneMaskStoreTest, AddIfMinimalRejectsSupersetsAndRepeats) {
  EXPECT_EQ(walkOf({maskOf({5})}, {maskOf({2, 5}), maskOf({5})}), std::vector{maskOf({5})});
  EXPECT_EQ(walkOf({maskOf({1, 5})}, {maskOf({2, 5})}),
            (std::vector{maskOf({1, 5}), maskOf({2, 5})}));
}

TEST(MinimalTransversalsTest, SmallFamilies) {
  const std::vector single{maskOf({3, 7})};
  EXPECT_EQ(minimalTransversals(single), (std::vector{maskOf({3}), maskOf({7})}));

  const std::vector two{maskOf({3, 7}), maskOf({7, 9})};
  EXPECT_EQ(minimalTransversals(two), (std::vector{maskOf({7}), maskOf({3, 9})}));
}

// Each member of `within` kept with the given probability.
GeneMask randomSubset(std::mt19937& random, GeneMask within, double probability) {
  std::bernoulli_distribution keep(probability);
  GeneMask subset = 0;
  for (GeneMask rest = within; rest != 0; rest &= rest - 1) {
    if (keep(random)) subset |= rest & -rest;
  }
  return subset;
}

TEST(MinimalTransversalsTest, MatchesTheReferenceAlgorithmOnRandomFamilies) {
  // Fixed seed: a failure reproduces.
  std::mt19937 random(20240611);
  constexpr int kFamilies = 3000;
  constexpr int kMaxEdges = 30;
  const std::array<double, 4> edgeDensities{0.1, 0.25, 0.5, 0.75};
  for (int family = 0; family < kFamilies; ++family) {
    // Edges over a random part of the run's positions (20 as a rule, also
    // the widest runs of 32), like the positions in which one tuple differs
    // from each tuple of the other class.
    const int positions = family % 3 == 0 ? kMaxPositions : 20;
    const GeneMask used = randomSubset(random, allPositions(positions),
                                       std::uniform_real_distribution(0.2, 1.0)(random)) |
                          1;
    GeneMaskStore differences;
    BucketedMaskStore referenceDifferences;
    for (int e = std::uniform_int_distribution(1, kMaxEdges)(random); e > 0; --e) {
      GeneMask edge = randomSubset(random, used, edgeDensities[family % edgeDensities.size()]);
      if (edge == 0) edge = used & -used;
      differences.add(edge);
      referenceDifferences.add(edge);
    }

    // Both keep the inclusion-minimal edges in the same order.
    GeneMaskStore minimal;
    for (const GeneMask edge : differences.inStoreOrder()) minimal.addIfMinimal(edge);
    BucketedMaskStore referenceMinimal;
    for (const GeneMask edge : referenceDifferences.walk()) referenceMinimal.addIfMinimal(edge);
    const std::vector<GeneMask> edges = referenceMinimal.walk();
    ASSERT_EQ(minimal.inStoreOrder(), edges) << "family " << family;

    ASSERT_EQ(minimalTransversals(edges), referenceTransversals(edges)) << "family " << family;
  }
}

}  // namespace
}  // namespace geneclub::testing
