#include "data/load_data.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "data/dimensions.h"
#include "data/token_reader.h"

namespace geneclub {
namespace {

// Exit statuses of a failed load.
constexpr int kCannotOpenStatus = 1;
constexpr int kWrongDataStatus = 2;

// Reads the rest of an open file. A read error (a directory, say) ends the
// text early, which the parser then rejects as wrong data.
std::string readWholeFile(std::FILE* file) {
  std::string text;
  char chunk[1 << 16];
  std::size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
  return text;
}

}  // namespace

bool parseExpressionData(std::string_view text, ExpressionMatrix& matrix, ClassLabels& labels) {
  TokenReader reader(text);
  for (int sample = 0; sample < kSampleCount; ++sample) {
    for (int gene = 0; gene < kGeneCount; ++gene) {
      if (!reader.readDouble(matrix[gene][sample]) || !reader.readCharacter()) return false;
    }
    std::string_view classWord;
    if (!reader.readWord(classWord)) return false;
    if (classWord == "negative") {
      labels.push_back(1);
    } else if (classWord == "positive") {
      labels.push_back(0);
    } else {
      return false;
    }
  }
  return true;
}

void GeneClubAnalyzer::loadData(const std::string& fileName) {
  expressionMatrix.assign(kGeneCount, ExpressionRow(kSampleCount, 0.0));
  std::FILE* file = std::fopen(fileName.c_str(), "r");
  if (file == nullptr) {
    std::cout << "\t***can't open " << fileName << "\n\t***Check input data file\n";
    std::exit(kCannotOpenStatus);
  }
  std::cout << "***Data preprocessing. Please Wait...\n";
  const std::string text = readWholeFile(file);
  std::fclose(file);
  if (!parseExpressionData(text, expressionMatrix, classLabels)) {
    std::cout << "\t***Wrong data\n\t***Check input data file\n";
    std::exit(kWrongDataStatus);
  }
}

}  // namespace geneclub
