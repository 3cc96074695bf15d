#include "data/load_data.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "data/dimensions.h"

namespace geneclub {
namespace {

// Exit statuses of a failed load.
constexpr int kCannotOpenStatus = 1;
constexpr int kWrongDataStatus = 2;

}  // namespace

bool parseExpressionData(TokenReader& reader, ExpressionMatrix& matrix, ClassLabels& labels) {
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

bool parseExpressionData(std::string_view text, ExpressionMatrix& matrix, ClassLabels& labels) {
  TokenReader reader(text);
  return parseExpressionData(reader, matrix, labels);
}

void GeneClubAnalyzer::loadData(const std::string& fileName) {
  expressionMatrix.assign(kGeneCount, ExpressionRow(kSampleCount, 0.0));
  std::FILE* file = std::fopen(fileName.c_str(), "r");
  if (file == nullptr) {
    std::cout << "\t***can't open " << fileName << "\n\t***Check input data file\n";
    std::exit(kCannotOpenStatus);
  }
  std::cout << "***Data preprocessing. Please Wait...\n";
  // A read error (the name of a directory, say) ends the text early, which
  // the parser rejects as wrong data.
  TokenReader reader(file);
  const bool parsed = parseExpressionData(reader, expressionMatrix, classLabels);
  std::fclose(file);
  if (!parsed) {
    std::cout << "\t***Wrong data\n\t***Check input data file\n";
    std::exit(kWrongDataStatus);
  }
}

}  // namespace geneclub
