// Benchmarks of the expression-table reader: the two real public tables
// beside the project (each skipped when absent), and a generated wide table
// of 1,000 samples x 20,000 genes, about 160 MB of text, written once to a
// temporary file.

#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <variant>

#include "readers/expression_table.h"

namespace geneclub {
namespace {

void readTable(benchmark::State& state, const std::filesystem::path& path) {
  if (!std::filesystem::exists(path)) {
    state.SkipWithError((path.string() + " is absent").c_str());
    return;
  }
  for (auto _ : state) {
    std::variant<ExpressionTable, InputError> table = readExpressionTable(path.string(), {});
    if (!std::holds_alternative<ExpressionTable>(table)) {
      state.SkipWithError(std::get<InputError>(table).message.c_str());
      return;
    }
    benchmark::DoNotOptimize(std::get<ExpressionTable>(table).values.data());
  }
  state.SetBytesProcessed(state.iterations() *
                          static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

std::filesystem::path publicTable(const char* name) {
  return std::filesystem::path(GENECLUB_SOURCE_DIR) / ".." / "shared" / "data" / "public" / name;
}

void BM_ReadProstateTable(benchmark::State& state) {
  readTable(state, publicTable("prostate-singh.csv"));
}
BENCHMARK(BM_ReadProstateTable)->Unit(benchmark::kMillisecond);

void BM_ReadLeukemiaTable(benchmark::State& state) {
  readTable(state, publicTable("leukemia-golub.csv"));
}
BENCHMARK(BM_ReadLeukemiaTable)->Unit(benchmark::kMillisecond);

// A table the shape of the largest expected input: a label column, then
// 20,000 genes of values with up to two decimals, as microarray exports
// write them.
std::filesystem::path wideTablePath() {
  return std::filesystem::temp_directory_path() / "geneclub-bench-wide-table.csv";
}

void removeWideTable() { std::filesystem::remove(wideTablePath()); }

const std::filesystem::path& wideTable() {
  static const std::filesystem::path path = [] {
    constexpr int kSamples = 1000;
    constexpr int kGenes = 20000;
    const std::filesystem::path file = wideTablePath();
    std::atexit(removeWideTable);  // 158 MB is too much to leave behind
    std::ofstream out(file);
    out << "labels";
    for (int gene = 1; gene <= kGenes; ++gene) out << ",gene" << gene;
    std::mt19937 random(5);
    for (int sample = 0; sample < kSamples; ++sample) {
      out << '\n' << (sample % 3 == 0 ? "Normal" : "Tumor");
      for (int gene = 0; gene < kGenes; ++gene) {
        // Values from -500.00 to 9999.99 in hundredths.
        const int hundredths = static_cast<int>(random() % 1050000) - 50000;
        char text[32];  // room for any double in fixed notation with two decimals here
        const std::to_chars_result written = std::to_chars(
            text, text + sizeof text, hundredths / 100.0, std::chars_format::fixed, 2);
        out << ',' << std::string_view(text, written.ptr - text);
      }
    }
    return file;
  }();
  return path;
}

void BM_ReadWideTable(benchmark::State& state) { readTable(state, wideTable()); }
BENCHMARK(BM_ReadWideTable)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace geneclub

BENCHMARK_MAIN();
