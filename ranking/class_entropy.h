// Two-class entropy in nats, the measure behind every split point, gain and
// gene-club score. Both forms compute the very same double for the same
// class counts, so scores built from counts compare exactly with scores
// built from label arrays.

#ifndef GENECLUB_RANKING_CLASS_ENTROPY_H_
#define GENECLUB_RANKING_CLASS_ENTROPY_H_

#include <span>

namespace geneclub {

// Entropy of z labels of one class and q of the other, n = z + q:
// -(z * ln(z/n))/n - (q * ln(q/n))/n, and 0.0 when n, z or q is 0.
// REQUIRES: zeros >= 0, others >= 0.
double classEntropyOfCounts(int zeros, int others);

// Entropy of a label array; labels equal to 0 form one class and every other
// value the second.
double classEntropy(std::span<const int> labels);

}  // namespace geneclub

#endif  // GENECLUB_RANKING_CLASS_ENTROPY_H_
