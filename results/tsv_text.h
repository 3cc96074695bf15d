// Text of the machine-readable result files: tab-separated fields, names made
// safe for them, and doubles in their shortest round-trip form.

#ifndef GENECLUB_RESULTS_TSV_TEXT_H_
#define GENECLUB_RESULTS_TSV_TEXT_H_

#include <string>
#include <string_view>

namespace geneclub {

// The name with every tab and line end (\n, \r) written as a space, so that
// it stays one field of one line.
std::string tsvField(std::string_view name);

// The shortest text that reads back as the same double (std::to_chars):
// fixed notation unless scientific is strictly shorter ("59", "1e-05").
std::string shortestDouble(double value);

}  // namespace geneclub

#endif  // GENECLUB_RESULTS_TSV_TEXT_H_
