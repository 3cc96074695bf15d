// Fuzzes the reading of the data file. The in-memory token reader must read
// numbers, separator characters and words exactly as a C++ formatted stream
// reads them from the same text (same successes, bit-identical values), and
// the loader must never crash, whatever the bytes.

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "app/gene_club_session.h"
#include "readers/load_data.h"
#include "readers/token_reader.h"

namespace {

// Reads the text the way the loader does, a record of two values here, with
// both readers side by side, and stops at the first failure of either.
void compareWithStream(std::string_view text) {
  geneclub::TokenReader reader(text);
  std::istringstream stream{std::string(text)};
  for (int read = 0;; ++read) {
    bool readerOk = false, streamOk = false;
    switch (read % 5) {
      case 0:
      case 2: {
        double readerValue = 0.0, streamValue = 0.0;
        readerOk = reader.readDouble(readerValue);
        streamOk = static_cast<bool>(stream >> streamValue);
        if (readerOk && streamOk &&
            std::bit_cast<std::uint64_t>(readerValue) !=
                std::bit_cast<std::uint64_t>(streamValue)) {
          std::abort();
        }
        break;
      }
      case 1:
      case 3: {
        char streamCharacter = 0;
        readerOk = reader.readCharacter();
        streamOk = static_cast<bool>(stream >> streamCharacter);
        break;
      }
      default: {
        std::string_view readerWord;
        std::string streamWord;
        readerOk = reader.readWord(readerWord);
        streamOk = static_cast<bool>(stream >> streamWord);
        if (readerOk && streamOk && readerWord != streamWord) std::abort();
      }
    }
    if (readerOk != streamOk) std::abort();
    if (!readerOk) return;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  compareWithStream(text);

  static geneclub::ExpressionMatrix matrix(
      geneclub::kInteractiveGeneCount,
      geneclub::ExpressionRow(geneclub::kInteractiveSampleCount, 0.0));
  geneclub::ClassLabels labels;
  geneclub::parseExpressionData(text, matrix, labels);
  return 0;
}
