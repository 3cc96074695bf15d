#include "ranking/class_entropy.h"

#include <algorithm>
#include <cmath>

namespace geneclub {

double classEntropyOfCounts(int zeros, int others) {
  if (zeros == 0 || others == 0) return 0.0;
  const double z = zeros;
  const double q = others;
  const double n = zeros + others;
  return -(z * std::log(z / n)) / n - (q * std::log(q / n)) / n;
}

double classEntropy(std::span<const int> labels) {
  const int zeros = static_cast<int>(std::count(labels.begin(), labels.end(), 0));
  return classEntropyOfCounts(zeros, static_cast<int>(labels.size()) - zeros);
}

}  // namespace geneclub
