// Running one gene-club method: a club around each of the K top genes, each
// club mined for its minimal emerging patterns. Clubs are built and mined on
// a pool of threads and handed over in club order, so what the caller writes
// does not depend on the number of threads.

#ifndef GENECLUB_CLUBS_CLUB_RUNS_H_
#define GENECLUB_CLUBS_CLUB_RUNS_H_

#include <functional>
#include <string_view>
#include <vector>

#include "clubs/club_frame.h"
#include "patterns/ep_miner.h"

namespace geneclub {

enum class ClubMethod { kIndependent, kDivision, kIndependentIterative, kDivisionIterative };

inline constexpr ClubMethod kClubMethods[] = {ClubMethod::kIndependent, ClubMethod::kDivision,
                                              ClubMethod::kIndependentIterative,
                                              ClubMethod::kDivisionIterative};

// The label of the method's section in EP.data: "INDEPENDENT", "DIVISION",
// "ITERATIVE" or "DIVISION ITERATIVE".
std::string_view methodLabel(ClubMethod method);

// The method's name in machine-readable output: "independent", "division",
// "independent-iterative" or "division-iterative".
std::string_view methodName(ClubMethod method);

// The club of the method around the top gene in topRow, top gene first.
std::vector<int> buildClub(ClubMethod method, const ClubContext& context, int topRow);

// A club with its mined patterns: the first K rows of the club, as
// positions 0..K-1, over the context's samples.
struct ClubRun {
  int topRow;
  std::vector<int> club;
  MiningResult patterns;
};

// Builds and mines the clubs of the method around the top rows 0..K-1,
// passes each to prepare (if given) on the thread that built it, several at
// a time, then to deliver, in ascending top row, one at a time. At most a
// few clubs per thread are held at once.
void runClubMethod(ClubMethod method, const ClubContext& context, std::span<const int> labels,
                   const std::function<void(const ClubRun&)>& deliver,
                   const std::function<void(ClubRun&)>& prepare = {});

}  // namespace geneclub

#endif  // GENECLUB_CLUBS_CLUB_RUNS_H_
