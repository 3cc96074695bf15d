// The interactive program's record format, read as that program reads it
// (TokenReader's number grammar), but with any number of values per record
// and any class words: each value is followed by one separator character,
// and the first token after a separator that does not start like a number
// is the record's class word. The first record fixes the number of genes;
// records run to the end of the file.

#include <optional>
#include <string>
#include <vector>

#include "readers/table_forms.h"
#include "readers/table_text.h"
#include "readers/token_reader.h"

namespace geneclub {
namespace {

bool startsLikeNumber(char c) { return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'; }

std::string countOfValues(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " value" : " values");
}

InputError recordError(const std::string& fileName, int record, const std::string& what) {
  return {InputError::kInvalidData, fileName + ": record " + std::to_string(record) + " (sample " +
                                        std::to_string(record) + "): " + what};
}

}  // namespace

std::variant<ExpressionTable, InputError> readNativeRecords(InputBuffer& input,
                                                            const std::string& fileName) {
  TokenReader reader(
      [&input](char* buffer, std::size_t capacity) { return input.take(buffer, capacity); });
  ExpressionTable table;
  table.form = ExpressionTable::Form::kNativeRecords;
  const auto readFailure = [&] { return inputStopped(input, fileName); };
  std::size_t geneCount = 0;
  int record = 0;
  char next = 0;
  while (reader.peekCharacter(next)) {
    ++record;
    std::size_t valueCount = 0;
    while (true) {
      if (!reader.peekCharacter(next)) {
        if (std::optional<InputError> failure = readFailure()) return *failure;
        return recordError(fileName, record,
                           "the file ends after value " + std::to_string(valueCount) +
                               ", before the record's class word");
      }
      if (!startsLikeNumber(next)) break;
      double value = 0.0;
      if (!reader.readDouble(value)) {
        return recordError(fileName, record,
                           "value " + std::to_string(valueCount + 1) +
                               " is not a number, or is beyond the range of double");
      }
      if (!reader.readCharacter()) {
        if (std::optional<InputError> failure = readFailure()) return *failure;
        return recordError(fileName, record,
                           "the file ends after value " + std::to_string(valueCount + 1) +
                               ", before its separator and the record's class word");
      }
      if (record == 1) {
        table.values.emplace_back(1, value);
      } else if (valueCount < geneCount) {
        table.values[valueCount].push_back(value);
      } else {
        return recordError(
            fileName, record,
            "the record holds more values than the first record's " + std::to_string(geneCount));
      }
      ++valueCount;
    }
    std::string_view classWord;
    if (!reader.readWord(classWord)) {
      if (std::optional<InputError> failure = readFailure()) return *failure;
      return recordError(fileName, record, "the class word is longer than 1 MiB");
    }
    if (!isValidUtf8(classWord))
      return recordError(fileName, record, "the class word is not UTF-8");
    if (record == 1) {
      geneCount = valueCount;
      if (geneCount == 0) {
        return recordError(
            fileName, record,
            "the record holds no value before its class word " + quoteForMessage(classWord));
      }
    } else if (valueCount != geneCount) {
      return recordError(fileName, record,
                         "the record holds " + countOfValues(valueCount) +
                             " before its class word " + quoteForMessage(classWord) +
                             ", but the first record holds " + std::to_string(geneCount));
    }
    table.labels.emplace_back(classWord);
    table.sampleNames.push_back(std::to_string(record));
  }
  if (std::optional<InputError> failure = readFailure()) return *failure;
  for (std::size_t gene = 1; gene <= geneCount; ++gene) {
    table.geneNames.push_back(std::to_string(gene));
    table.geneColumns.push_back(static_cast<int>(gene));
  }
  table.labelSource = "native class words";
  table.labelName = "class";
  return table;
}

}  // namespace geneclub
