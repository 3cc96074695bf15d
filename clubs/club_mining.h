// The EP.data headers of the gene-club methods. A method's header line
// starts with a line end and has none of its own: the first club header
// ends it. Each club header starts with two line ends.

#ifndef GENECLUB_CLUBS_CLUB_MINING_H_
#define GENECLUB_CLUBS_CLUB_MINING_H_

#include <string>

namespace geneclub {

// Appends "\nThis is the results gotten with <label> method" to EP.data.
void writeMethodHeader(std::string label);

// Appends "\n\nTop <topRow + 1> gene's gene club's EP patterns\n" to EP.data.
void writeClubHeader(int topRow);

}  // namespace geneclub

#endif  // GENECLUB_CLUBS_CLUB_MINING_H_
