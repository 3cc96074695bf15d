#include "patterns/position_restriction.h"

namespace geneclub {
namespace {

ClassPatterns restrictClass(const ClassPatterns& mined, ItemSet allowedItems) {
  ClassPatterns kept;
  kept.tupleCount = mined.tupleCount;
  kept.samples = mined.samples;
  kept.tidsetWords = mined.tidsetWords;
  for (int p = 0; p < mined.patternCount(); ++p) {
    if (!isSubset(mined.patterns[p], allowedItems)) continue;
    kept.patterns.push_back(mined.patterns[p]);
    kept.supports.push_back(mined.supports[p]);
    const std::span<const std::uint64_t> tidset = mined.tidset(p);
    kept.tidsets.insert(kept.tidsets.end(), tidset.begin(), tidset.end());
  }
  return kept;
}

}  // namespace

MiningResult restrictToFirstPositions(const MiningResult& mined, int positions) {
  // Items 0..2K-1 are those of positions 0..K-1.
  const ItemSet allowedItems =
      positions == kMaxPositions ? ~ItemSet{0} : (ItemSet{1} << (2 * positions)) - 1;
  MiningResult restricted;
  restricted.positions = positions;
  restricted.disease = restrictClass(mined.disease, allowedItems);
  restricted.normal = restrictClass(mined.normal, allowedItems);
  return restricted;
}

}  // namespace geneclub
