// Text of the machine-readable result files: tab-separated fields, names made
// safe for them and for the console, and doubles in their shortest round-trip
// form.

#ifndef GENECLUB_RESULTS_TSV_TEXT_H_
#define GENECLUB_RESULTS_TSV_TEXT_H_

#include <string>
#include <string_view>

namespace geneclub {

// The name with every control character (the C0 bytes 0 to 31, tabs and line
// ends among them, and DEL, 127) written as a space, so that it stays one
// field of one line and sends no control sequence to a terminal. Every other
// byte is kept. The same rule serves the tables and the console.
std::string tsvField(std::string_view name);

// The shortest text that reads back as the same double (std::to_chars):
// fixed notation unless scientific is strictly shorter ("59", "1e-05").
std::string shortestDouble(double value);

}  // namespace geneclub

#endif  // GENECLUB_RESULTS_TSV_TEXT_H_
