#include "readers/labels_file.h"

#include <memory>
#include <optional>
#include <string_view>
#include <utility>

#include "readers/byte_source.h"
#include "readers/input_buffer.h"
#include "readers/line_reader.h"
#include "readers/table_forms.h"
#include "readers/table_text.h"

namespace geneclub {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmedLine(std::string_view line) {
  while (!line.empty() && isBlank(line.front())) line.remove_prefix(1);
  while (!line.empty() && isBlank(line.back())) line.remove_suffix(1);
  return line;
}

// The words of a line between blanks.
std::vector<std::string_view> wordsOf(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while (true) {
    while (at < line.size() && isBlank(line[at])) ++at;
    if (at == line.size()) return words;
    const std::size_t start = at;
    while (at < line.size() && !isBlank(line[at])) ++at;
    words.push_back(line.substr(start, at - start));
  }
}

bool endsWithIgnoringCase(std::string_view text, std::string_view lowerSuffix) {
  if (text.size() < lowerSuffix.size()) return false;
  text.remove_prefix(text.size() - lowerSuffix.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c =
        text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
    if (c != lowerSuffix[i]) return false;
  }
  return true;
}

InputError lineError(const std::string& fileName, int line, const std::string& what) {
  return {InputError::kInvalidData, fileName + ": line " + std::to_string(line) + ": " + what};
}

// Reads the lines after a CLS file's first, which gave `sampleCount` and
// `classCount`.
std::variant<FileLabels, InputError> readCls(LineReader& lines, const std::string& fileName,
                                             std::size_t sampleCount, std::size_t classCount) {
  std::string_view line;
  LineReader::Status status = lines.next(line);
  if (status == LineReader::Status::kError) return lines.error();
  if (status == LineReader::Status::kEnd || trimmedLine(line).substr(0, 1) != "#") {
    return lineError(fileName, 2,
                     "a CLS file's second line is \"#\" and the class names, between blanks");
  }
  std::vector<std::string> classNames;
  for (const std::string_view name : wordsOf(trimmedLine(line).substr(1))) {
    if (!isValidUtf8(name)) return lineError(fileName, 2, "the text is not UTF-8");
    classNames.emplace_back(name);
  }
  if (classNames.size() != classCount) {
    return lineError(fileName, 2,
                     "the line names " + std::to_string(classNames.size()) +
                         " classes, but line 1 gives " + std::to_string(classCount));
  }
  // The labels, with the line of each.
  std::vector<std::pair<std::string, int>> tokens;
  while ((status = lines.next(line)) == LineReader::Status::kLine) {
    for (const std::string_view word : wordsOf(line)) tokens.emplace_back(word, lines.lineNumber());
  }
  if (status == LineReader::Status::kError) return lines.error();
  if (tokens.size() != sampleCount) {
    return InputError{InputError::kInvalidData, fileName + ": line 1 gives " +
                                                    std::to_string(sampleCount) +
                                                    " samples, but the file holds " +
                                                    std::to_string(tokens.size()) + " labels"};
  }
  // Class numbers when every label is one, else class names.
  const auto classNumber = [classCount](std::string_view token) -> std::optional<std::size_t> {
    const std::optional<int> number = smallNumber(token);
    if (!number || static_cast<std::size_t>(*number) >= classCount) return std::nullopt;
    return static_cast<std::size_t>(*number);
  };
  const auto isClassName = [&classNames](std::string_view token) {
    for (const std::string& name : classNames) {
      if (name == token) return true;
    }
    return false;
  };
  bool numbers = true, names = true;
  for (const auto& [token, tokenLine] : tokens) {
    const bool number = classNumber(token).has_value(), name = isClassName(token);
    if (!number && !name) {
      return lineError(fileName, tokenLine,
                       (isValidUtf8(token) ? quoteForMessage(token) : std::string("a label")) +
                           " is neither a class named on line 2 nor a class number from 0 to " +
                           std::to_string(classCount - 1));
    }
    numbers &= number;
    names &= name;
  }
  if (!numbers && !names) {
    for (const auto& [token, tokenLine] : tokens) {
      if (isClassName(token)) continue;
      return lineError(fileName, tokenLine,
                       quoteForMessage(token) +
                           " is a class number, but other labels are class names; give all "
                           "labels one way");
    }
  }
  FileLabels result;
  result.isCls = true;
  for (const auto& [token, tokenLine] : tokens) {
    result.labels.push_back(numbers ? classNames[*classNumber(token)] : token);
  }
  return result;
}

}  // namespace

std::variant<FileLabels, InputError> readLabelsFile(const std::string& path) {
  std::variant<std::unique_ptr<ByteSource>, InputError> opened = openByteSource(path);
  if (InputError* error = std::get_if<InputError>(&opened)) return *error;
  InputBuffer input(std::move(std::get<std::unique_ptr<ByteSource>>(opened)));
  dropByteOrderMark(input);
  const std::string fileName = displayName(path);
  LineReader lines(input, fileName);
  std::string_view line;
  LineReader::Status status = lines.next(line);
  if (status == LineReader::Status::kError) return lines.error();
  // A CLS file's first line: the numbers of samples and of classes, and 1.
  const std::vector<std::string_view> head =
      status == LineReader::Status::kLine ? wordsOf(line) : std::vector<std::string_view>();
  bool wholeNumbers = head.size() == 3;
  for (const std::string_view word : head) wholeNumbers &= smallNumber(word).has_value();
  if (wholeNumbers || endsWithIgnoringCase(path, ".cls") || endsWithIgnoringCase(path, ".cls.gz")) {
    if (!wholeNumbers || *smallNumber(head[2]) != 1 || *smallNumber(head[1]) == 0) {
      return lineError(fileName, 1,
                       "a CLS file's first line is the numbers of samples and of classes, then 1 "
                       "(such as \"72 2 1\")");
    }
    return readCls(lines, fileName, static_cast<std::size_t>(*smallNumber(head[0])),
                   static_cast<std::size_t>(*smallNumber(head[1])));
  }
  FileLabels result;
  for (; status == LineReader::Status::kLine; status = lines.next(line)) {
    const std::string_view label = trimmedLine(line);
    if (label.empty()) continue;
    const std::string place = fileName + ": line " + std::to_string(lines.lineNumber());
    if (!isValidUtf8(label))
      return InputError{InputError::kInvalidData, place + ": the text is not UTF-8"};
    if (isMissingWord(label)) return missingLabelError(place, label);
    if (result.firstLineWithBlank == 0 && label.find_first_of(" \t") != std::string_view::npos) {
      result.firstLineWithBlank = lines.lineNumber();
    }
    result.labels.emplace_back(label);
  }
  if (status == LineReader::Status::kError) return lines.error();
  return result;
}

}  // namespace geneclub
