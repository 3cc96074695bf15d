// Writes a synthetic two-class expression data set (tools/synthetic_data.h).
// By default it has the layout of colonTumor.data: 62 sample records of 2000
// values, each value followed by a comma, then the class word "negative"
// (Disease) or "positive" (Normal). Options choose another shape, and a
// table with a header of gene names and a label column instead.
//
// Usage: make_demo_data [--genes G] [--samples N] [--normal-samples N0]
//                       [--informative I] [--table] <output-path>
// An existing file is never replaced.

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/synthetic_data.h"

namespace {

using geneclub::SyntheticData;
using geneclub::SyntheticShape;

void printValue(std::FILE* out, std::int64_t hundredths) {
  std::fprintf(out, "%lld.%02lld", static_cast<long long>(hundredths / 100),
               static_cast<long long>(hundredths % 100));
}

// One line per sample: its values as 1234.56 each followed by a comma, then
// the class word.
void writeRecords(std::FILE* out, const SyntheticData& data) {
  for (std::size_t s = 0; s < data.normal.size(); ++s) {
    for (const auto& gene : data.hundredths) {
      printValue(out, gene[s]);
      std::fputc(',', out);
    }
    std::fprintf(out, "%s\n", data.normal[s] ? "positive" : "negative");
  }
}

// A header "labels,gene1,gene2,...", then one line per sample: its label and
// values.
void writeTable(std::FILE* out, const SyntheticData& data) {
  std::fputs("labels", out);
  for (std::size_t g = 0; g < data.hundredths.size(); ++g) std::fprintf(out, ",gene%zu", g + 1);
  std::fputc('\n', out);
  for (std::size_t s = 0; s < data.normal.size(); ++s) {
    std::fputs(data.normal[s] ? "positive" : "negative", out);
    for (const auto& gene : data.hundredths) {
      std::fputc(',', out);
      printValue(out, gene[s]);
    }
    std::fputc('\n', out);
  }
}

[[noreturn]] void usage() {
  std::fprintf(stderr,
               "make_demo_data: usage: make_demo_data [--genes G] [--samples N] "
               "[--normal-samples N0] [--informative I] [--table] <output-path>\n");
  std::exit(2);
}

int positiveNumber(const char* text) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (*text == '\0' || *end != '\0' || value < 0 || value > 100000000) usage();
  return static_cast<int>(value);
}

}  // namespace

int main(int argc, char** argv) {
  SyntheticShape shape;
  bool table = false;
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string option = argv[i];
    const bool hasValue = i + 1 < argc;
    if (option == "--table") {
      table = true;
    } else if (option == "--genes" && hasValue) {
      shape.genes = positiveNumber(argv[++i]);
      shape.informativeStride = 0;
    } else if (option == "--samples" && hasValue) {
      shape.samples = positiveNumber(argv[++i]);
    } else if (option == "--normal-samples" && hasValue) {
      shape.normalSamples = positiveNumber(argv[++i]);
    } else if (option == "--informative" && hasValue) {
      shape.informativeGenes = positiveNumber(argv[++i]);
      shape.informativeStride = 0;
    } else if (path == nullptr && !option.starts_with("--")) {
      path = argv[i];
    } else {
      usage();
    }
  }
  if (path == nullptr || shape.normalSamples > shape.samples ||
      shape.genes < shape.informativeGenes + shape.constantGenes + shape.copiedGenes ||
      shape.copiedGenes > shape.informativeGenes) {
    usage();
  }
  // Mode "x" makes the open fail, rather than truncate, when the path exists.
  std::FILE* out = std::fopen(path, "wx");
  if (out == nullptr) {
    std::fprintf(stderr, "make_demo_data: cannot create %s: %s\n", path,
                 errno == EEXIST ? "it exists and is not overwritten" : std::strerror(errno));
    return 1;
  }
  const SyntheticData data = geneclub::makeSyntheticData(shape);
  if (table) {
    writeTable(out, data);
  } else {
    writeRecords(out, data);
  }
  if (std::ferror(out) != 0 || std::fclose(out) != 0) {
    std::fprintf(stderr, "make_demo_data: cannot write %s\n", path);
    std::remove(path);  // A partial file would be taken for a complete one.
    return 1;
  }
  return 0;
}
