#include "readers/load_data.h"

#include <cstdio>
#include <string>

namespace geneclub {

bool parseExpressionData(TokenReader& reader, ExpressionMatrix& matrix, ClassLabels& labels) {
  const int samples = matrix.empty() ? 0 : static_cast<int>(matrix[0].size());
  for (int sample = 0; sample < samples; ++sample) {
    for (ExpressionRow& row : matrix) {
      if (!reader.readDouble(row[sample]) || !reader.readCharacter()) return false;
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

std::variant<ExpressionData, InputError> loadData(const std::string& fileName, int geneCount,
                                                  int sampleCount,
                                                  const ProgressListener& progress) {
  std::FILE* file = std::fopen(fileName.c_str(), "r");
  if (file == nullptr) return InputError{InputError::kUnreadable, "can't open " + fileName};
  notify(progress, {ProgressEvent::Step::kDataOpened});
  ExpressionData data;
  data.matrix.assign(geneCount, ExpressionRow(sampleCount, 0.0));
  // A read error (the name of a directory, say) ends the text early, which
  // the parser rejects as wrong data.
  TokenReader reader(file);
  const bool parsed = parseExpressionData(reader, data.matrix, data.labels);
  std::fclose(file);
  if (!parsed) return InputError{InputError::kInvalidData, "wrong data in " + fileName};
  return data;
}

}  // namespace geneclub
