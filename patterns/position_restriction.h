// The minimal jumping EPs of a mining run over fewer positions, read off a
// run over more. Whether a tuple holds a pattern depends only on the
// positions the pattern names, so a pattern over the first K positions is a
// minimal EP of the run over K exactly when it is one of the run over more
// positions, with the same support and Tidset. One run over the most
// positions thus serves every smaller K.

#ifndef GENECLUB_PATTERNS_POSITION_RESTRICTION_H_
#define GENECLUB_PATTERNS_POSITION_RESTRICTION_H_

#include "patterns/ep_miner.h"

namespace geneclub {

// The patterns of mined whose items all lie at positions below `positions`,
// in mined's store order, with their supports and Tidsets. The set of
// patterns and supports equals that of mining the first `positions`
// positions directly; the store order may differ, since discovery order does.
// REQUIRES: 1 <= positions <= mined.positions.
MiningResult restrictToFirstPositions(const MiningResult& mined, int positions);

}  // namespace geneclub

#endif  // GENECLUB_PATTERNS_POSITION_RESTRICTION_H_
