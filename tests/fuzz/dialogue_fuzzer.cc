// Drives the method menu dialogue with arbitrary standard input on a small
// valid data set: whatever is typed, the dialogue must end (at "n", 0 or the
// end of input) without a crash, a sanitizer report or a hang.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "app/gene_club_session.h"
#include "app/method_menu.h"
#include "results/output_file.h"

namespace {

// Genes that carry the class signal; the rest hold one value in all samples,
// so that the cleaning steps take them out of play and the candidate pool of
// the gene-club methods stays small and each method quick.
constexpr int kInformativeGenes = 300;

// A fixed data set: 40 "negative" and 22 "positive" samples (every third
// sample and the last two are positive), informative genes shifted by class
// with noise from a fixed-seed linear congruential generator.
std::string makeDataText() {
  std::uint64_t state = 12345;
  auto next = [&state] {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<int>(state >> 33);
  };
  std::ostringstream text;
  for (int sample = 0; sample < geneclub::kInteractiveSampleCount; ++sample) {
    const bool negative = sample % 3 != 2 && sample < 60;
    for (int gene = 0; gene < geneclub::kInteractiveGeneCount; ++gene) {
      const int value = gene < kInformativeGenes ? 100 + (negative ? 40 : 0) + next() % 60 : 10;
      text << value << ",";
    }
    text << (negative ? "negative" : "positive") << "\n";
  }
  return text.str();
}

std::ostringstream& console() {
  static std::ostringstream text;
  text.str("");
  return text;
}

geneclub::GeneClubSession& analyzedData() {
  static geneclub::GeneClubSession* session = [] {
    std::string dir = (std::filesystem::temp_directory_path() / "geneclub-fuzz-XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr) std::abort();
    std::filesystem::current_path(dir);
    std::ofstream("colonTumor.data") << makeDataText();
    static geneclub::OutputFailures failures(std::cerr);
    auto* loaded = new geneclub::GeneClubSession(console(), failures);
    if (loaded->loadData("colonTumor.data") != 0) std::abort();
    loaded->runGlobalAnalysis();
    return loaded;
  }();
  return *session;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  geneclub::GeneClubSession& session = analyzedData();
  std::istringstream input(std::string(reinterpret_cast<const char*>(data), size));
  geneclub::runMethodDialogue(session, input, console());
  for (const char* name : {"EP.data", "diseaseEP.data", "normalEP.data"}) {
    std::filesystem::remove(name);
  }
  return 0;
}
