// The usual table: a header of column names, then one sample per record.
// One column may hold sample names and one the labels; every other column is
// a gene. When no option and no column name shows the label column, it is
// the only column that holds text; since that is known only at the end,
// every column is read as a gene until then, and the texts of the one column
// that has shown text so far are kept aside. An empty first header cell is
// what pandas and R write above the row names: that column is never a gene.
//
// Memory follows the input: the header's names are kept in one buffer, and
// what each gene column needs is set up only once the first row has shown
// that the columns hold values.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "readers/decimal_number.h"
#include "readers/name_list.h"
#include "readers/table_forms.h"
#include "readers/table_text.h"

namespace geneclub {
namespace {

// A spare share of the estimated rows reserved for each gene, so that rows
// somewhat shorter than those before rarely need a new estimate.
constexpr double kReserveMargin = 1.05;

// Rows gathered before they are moved to the genes' rows: enough that each
// gene gets a cache line of values at a time, few enough that they cost
// little next to the matrix. A table so wide that eight rows would take more
// than kPendingBytes gathers fewer, down to one, so that a table of a few
// rows never holds much more than its values.
constexpr std::size_t kPendingRows = 8;
constexpr std::size_t kPendingBytes = 16 << 20;

// The first missing value of a gene slot.
struct FirstMissing {
  int slot = 0;
  std::string text;
};

// The 0-based column that an option names: the leftmost column of that exact
// name, else the column of that 1-based number.
std::optional<int> columnNamedBy(const NameList& names, const std::string& option) {
  NameList::Cursor cursor(names);
  for (std::size_t column = 0; column < names.size(); ++column) {
    if (cursor.next() == option) return static_cast<int>(column);
  }
  const std::optional<int> number = smallNumber(option);
  if (number && *number >= 1 && *number <= static_cast<int>(names.size())) return *number - 1;
  return std::nullopt;
}

InputError noSuchColumn(const std::string& fileName, const std::string& what,
                        const std::string& option, std::size_t columnCount) {
  return {InputError::kInvalidData, fileName + ": the " + what + " " + quoteForMessage(option) +
                                        " names no column: no column has that name, and it is no "
                                        "column number from 1 to " +
                                        std::to_string(columnCount)};
}

std::string columnLabel(const NameList& names, int column) {
  return "column " + quoteForMessage(names[column]) + " (" + std::to_string(column + 1) + ")";
}

// The text of a number as a label: its shortest exact decimal form.
std::string numberText(double value) {
  char text[32];  // the longest shortest form of a double is 24 characters
  const std::to_chars_result result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

class SamplesInRowsReader {
 public:
  SamplesInRowsReader(DelimitedRecordReader& records, const TableOptions& options)
      : records_(records), options_(options), fileName_(records.fileName()) {}

  std::variant<ExpressionTable, InputError> read(std::vector<std::string>& otherNames);

 private:
  std::optional<InputError> chooseColumns();
  void setUpSlots();
  std::optional<InputError> readRow(int row);
  std::optional<InputError> readOtherCell(int slot, int row, double& cell);
  void flushPendingRows();
  std::optional<InputError> takeDetectedLabelColumn();
  std::optional<InputError> firstMissingGeneValue() const;
  const std::string& firstMissingText(int slot) const;
  void reserveRows();

  DelimitedRecordReader& records_;
  const TableOptions& options_;
  const std::string& fileName_;
  NameList names_;
  std::vector<int> columnOfSlot_;
  int labelColumn_ = -1;  // -1 while unknown, and when a labels file gives the labels
  int sampleColumn_ = -1;
  int rowNamesColumn_ = -1;  // an empty first header cell's column, when not the sample column
  bool detectLabelColumn_ = false;
  ExpressionTable table_;
  // The rows read but not yet moved to the genes' rows, row by row.
  std::vector<double> pendingRows_;
  std::size_t pendingRowCount_ = 0;
  std::size_t pendingRowLimit_ = kPendingRows;
  std::uint64_t headerEnd_ = 0;  // input offset where the first row starts
  // Per slot, the line of its first missing value (0: none yet), and the
  // texts of those first missing values in the order they were found.
  std::vector<int> firstMissingLine_;
  std::vector<FirstMissing> firstMissingTexts_;
  // While the label column is being detected: the one slot that held text,
  // its texts by row, and the line of every row.
  int textSlot_ = -1;
  std::vector<std::pair<int, std::string>> slotTexts_;
  std::vector<int> rowLines_;
};

std::optional<InputError> SamplesInRowsReader::chooseColumns() {
  const int columnCount = static_cast<int>(names_.size());
  if (!options_.sampleColumn.empty()) {
    const std::optional<int> named = columnNamedBy(names_, options_.sampleColumn);
    if (!named) {
      return noSuchColumn(fileName_, "sample column", options_.sampleColumn, names_.size());
    }
    sampleColumn_ = *named;
  }
  if (!options_.labelColumn.empty()) {
    const std::optional<int> named = columnNamedBy(names_, options_.labelColumn);
    if (!named) return noSuchColumn(fileName_, "label column", options_.labelColumn, names_.size());
    if (*named == sampleColumn_) {
      return InputError{InputError::kInvalidData,
                        fileName_ + ": " + columnLabel(names_, *named) +
                            " cannot be both the label column and the sample column"};
    }
    labelColumn_ = *named;
  }
  // The row names that pandas and R write under an empty first cell.
  if (columnCount > 1 && names_[0].empty() && labelColumn_ != 0 && sampleColumn_ != 0) {
    if (options_.sampleColumn.empty()) {
      sampleColumn_ = 0;
    } else {
      rowNamesColumn_ = 0;
    }
  }
  const auto isOther = [this](int column) {
    return column == sampleColumn_ || column == labelColumn_ || column == rowNamesColumn_;
  };
  if (options_.labelColumn.empty() && options_.labelsFile.empty()) {
    NameList::Cursor cursor(names_);
    for (int column = 0; column < columnCount && labelColumn_ < 0; ++column) {
      if (isLabelColumnName(cursor.next()) && !isOther(column)) labelColumn_ = column;
    }
    detectLabelColumn_ = labelColumn_ < 0;
  }
  if (sampleColumn_ < 0) {
    NameList::Cursor cursor(names_);
    for (int column = 0; column < columnCount && sampleColumn_ < 0; ++column) {
      if (isSampleColumnName(cursor.next()) && !isOther(column)) sampleColumn_ = column;
    }
  }
  int others = 0;
  for (const int column : {sampleColumn_, labelColumn_, rowNamesColumn_}) others += column >= 0;
  if (others == columnCount) {
    return InputError{InputError::kInvalidData,
                      fileName_ +
                          ": no column is left for genes besides the label and sample "
                          "columns"};
  }
  return std::nullopt;
}

// The gene slots and what each needs while the rows are read; called once
// the first row has as many fields as the header, so that the memory they
// take is in proportion to the values.
void SamplesInRowsReader::setUpSlots() {
  const int columnCount = static_cast<int>(names_.size());
  for (int column = 0; column < columnCount; ++column) {
    if (column != sampleColumn_ && column != labelColumn_ && column != rowNamesColumn_) {
      columnOfSlot_.push_back(column);
    }
  }
  table_.values.resize(columnOfSlot_.size());
  firstMissingLine_.resize(columnOfSlot_.size());
  pendingRowLimit_ = std::clamp<std::size_t>(
      kPendingBytes / (sizeof(double) * columnOfSlot_.size()), 1, kPendingRows);
}

// Reserves room in every gene's row for the rows the input still holds,
// estimated from its size and the length of the rows read so far, so that
// the rows of a large table do not grow by doubling (which wastes up to half
// the matrix). Without a known size, the rows grow as vectors do.
void SamplesInRowsReader::reserveRows() {
  const InputBuffer& input = records_.input();
  const std::uint64_t size = input.source().sizeHint();
  const std::uint64_t done = input.consumedCount();
  const std::size_t rowsRead = table_.values[0].size() + pendingRowCount_;
  if (size <= done || done <= headerEnd_ || rowsRead == 0) return;
  const double bytesPerRow = static_cast<double>(done - headerEnd_) / static_cast<double>(rowsRead);
  const auto rows =
      rowsRead +
      static_cast<std::size_t>(static_cast<double>(size - done) / bytesPerRow * kReserveMargin) +
      pendingRowLimit_;
  for (std::vector<double>& values : table_.values) values.reserve(rows);
}

std::optional<InputError> SamplesInRowsReader::readRow(int row) {
  DelimitedRecordReader& records = records_;
  const int line = records.line();
  if (records.fieldCount() != names_.size()) {
    return InputError{InputError::kInvalidData,
                      fileName_ + ": line " + std::to_string(line) + " holds " +
                          std::to_string(records.fieldCount()) + " fields, but the header holds " +
                          std::to_string(names_.size())};
  }
  if (row == 0) setUpSlots();
  if (sampleColumn_ >= 0) table_.sampleNames.emplace_back(records.fieldText(sampleColumn_));
  if (labelColumn_ >= 0) {
    const std::string_view label = records.fieldText(labelColumn_);
    if (isMissingWord(label)) {
      return missingLabelError(
          cellPlace(fileName_, records.fieldLine(labelColumn_), labelColumn_ + 1), label);
    }
    table_.labels.emplace_back(label);
  }
  if (detectLabelColumn_) rowLines_.push_back(line);
  // The loop that reads nearly every byte of a table: one gene value per
  // turn, with everything but a plain number handled out of line.
  const int* const columnOfSlot = columnOfSlot_.data();
  const std::size_t slotCount = columnOfSlot_.size();
  // The pending rows grow with the first rows, so that a table of few rows
  // never holds room for more.
  if (pendingRows_.size() < (pendingRowCount_ + 1) * slotCount) {
    pendingRows_.resize((pendingRowCount_ + 1) * slotCount);
  }
  double* const cells = pendingRows_.data() + pendingRowCount_ * slotCount;
  const auto readCells = [&](auto textOf) -> std::optional<InputError> {
    for (std::size_t slot = 0; slot < slotCount; ++slot) {
      if (parsePaddedDecimalField(textOf(columnOfSlot[slot]), cells[slot]) != DecimalField::kNumber)
          [[unlikely]] {
        if (std::optional<InputError> error =
                readOtherCell(static_cast<int>(slot), row, cells[slot])) {
          return error;
        }
      }
    }
    return std::nullopt;
  };
  // A plain line's loop keeps the line and its boundaries in registers.
  std::optional<InputError> error;
  if (const std::uint32_t* const boundaries = records.plainBoundaries()) {
    const char* const plainLine = records.plainLine();
    error = readCells([plainLine, boundaries](std::size_t column) {
      return DelimitedRecordReader::plainFieldText(plainLine, boundaries, column);
    });
  } else {
    error = readCells([&records](std::size_t column) { return records.fieldText(column); });
  }
  if (error) return error;
  if (++pendingRowCount_ == pendingRowLimit_) flushPendingRows();
  return std::nullopt;
}

// Appends the pending rows to the genes' rows, each gene's values as one
// run: eight values to one place in memory rather than one value to each
// of thousands of places per row.
void SamplesInRowsReader::flushPendingRows() {
  const std::size_t slotCount = columnOfSlot_.size();
  // Every gene's row has the same size and capacity.
  if (table_.values[0].size() + pendingRowCount_ > table_.values[0].capacity()) reserveRows();
  // A constant count (all but the last flush) lets the compiler copy each
  // run with a few moves instead of a general memmove.
  const auto appendRuns = [&](auto rowCount) {
    double run[kPendingRows];
    for (std::size_t slot = 0; slot < slotCount; ++slot) {
      for (std::size_t row = 0; row < rowCount; ++row) {
        run[row] = pendingRows_[row * slotCount + slot];
      }
      table_.values[slot].insert(table_.values[slot].end(), run, run + rowCount);
    }
  };
  if (pendingRowCount_ == kPendingRows) {
    appendRuns(std::integral_constant<std::size_t, kPendingRows>());
  } else {
    appendRuns(pendingRowCount_);
  }
  pendingRowCount_ = 0;
}

// A gene cell that is not a plain number: missing, text that may mark the
// label column, or an error.
std::optional<InputError> SamplesInRowsReader::readOtherCell(int slot, int row, double& cell) {
  const int column = columnOfSlot_[slot];
  const std::string_view text = records_.fieldText(column);
  const int fieldLine = records_.fieldLine(column);
  const ValueCell kind = readValueCell(text, cell);
  const auto place = [&] {
    return geneCellPlace(fileName_, fieldLine, column + 1, names_[column]);
  };
  if (kind == ValueCell::kMissing) {
    cell = std::numeric_limits<double>::quiet_NaN();
    if (firstMissingLine_[slot] == 0) {
      firstMissingLine_[slot] = fieldLine;
      firstMissingTexts_.push_back({slot, std::string(text)});
    }
    if (!detectLabelColumn_ && !options_.dropGenesWithMissing) {
      return valueCellError(kind, place(), text);
    }
    return std::nullopt;
  }
  if (kind != ValueCell::kNotANumber || !detectLabelColumn_) {
    return valueCellError(kind, place(), text);
  }
  if (textSlot_ >= 0 && textSlot_ != slot) {
    return InputError{InputError::kInvalidData,
                      fileName_ +
                          ": no column is named labels, label, class, y, target or diagnosis, and "
                          "two columns hold text, " +
                          columnLabel(names_, columnOfSlot_[textSlot_]) + " and " +
                          columnLabel(names_, column) + " (line " + std::to_string(fieldLine) +
                          ": " + quoteForMessage(text) +
                          "); name the label column with --label-column"};
  }
  textSlot_ = slot;
  slotTexts_.emplace_back(row, text);
  cell = std::numeric_limits<double>::quiet_NaN();
  return std::nullopt;
}

// The text of a slot's first missing value.
const std::string& SamplesInRowsReader::firstMissingText(int slot) const {
  for (const FirstMissing& missing : firstMissingTexts_) {
    if (missing.slot == slot) return missing.text;
  }
  static const std::string kNone;
  return kNone;
}

// Makes the one slot that held text the label column: its texts, and its
// numbers written as text, become the labels.
std::optional<InputError> SamplesInRowsReader::takeDetectedLabelColumn() {
  if (textSlot_ < 0) {
    return InputError{InputError::kInvalidData,
                      fileName_ +
                          ": no column is named labels, label, class, y, target or "
                          "diagnosis, and no column holds text to take as labels; name "
                          "the label column with --label-column"};
  }
  labelColumn_ = columnOfSlot_[textSlot_];
  const std::vector<double>& cells = table_.values[textSlot_];
  std::size_t nextText = 0;
  for (std::size_t row = 0; row < cells.size(); ++row) {
    if (nextText < slotTexts_.size() && slotTexts_[nextText].first == static_cast<int>(row)) {
      table_.labels.push_back(std::move(slotTexts_[nextText++].second));
    } else if (std::isnan(cells[row])) {
      return missingLabelError(cellPlace(fileName_, rowLines_[row], labelColumn_ + 1),
                               firstMissingText(textSlot_));
    } else {
      table_.labels.push_back(numberText(cells[row]));
    }
  }
  table_.values.erase(table_.values.begin() + textSlot_);
  firstMissingLine_[textSlot_] = 0;
  columnOfSlot_.erase(columnOfSlot_.begin() + textSlot_);
  if (columnOfSlot_.empty()) {
    return InputError{InputError::kInvalidData,
                      fileName_ + ": no column is left for genes besides the label column " +
                          quoteForMessage(names_[labelColumn_])};
  }
  return std::nullopt;
}

// The error for the first missing value of a gene, in reading order, when
// missing values were let through only to detect the label column.
std::optional<InputError> SamplesInRowsReader::firstMissingGeneValue() const {
  // The slots of the detected label column's texts were cleared, so every
  // slot left with a line is a gene's; the first found is the first read.
  for (const FirstMissing& missing : firstMissingTexts_) {
    if (missing.slot == textSlot_) continue;
    const int column = columnOfSlot_[missing.slot - (missing.slot > textSlot_ ? 1 : 0)];
    const int line = firstMissingLine_[missing.slot];
    return valueCellError(ValueCell::kMissing,
                          geneCellPlace(fileName_, line, column + 1, names_[column]), missing.text);
  }
  return std::nullopt;
}

std::variant<ExpressionTable, InputError> SamplesInRowsReader::read(
    std::vector<std::string>& otherNames) {
  DelimitedRecordReader::Status status = records_.nextNames(names_);
  if (status == DelimitedRecordReader::Status::kError) return records_.error();
  if (status == DelimitedRecordReader::Status::kEnd) {
    return InputError{InputError::kInvalidData, fileName_ + ": the file holds no table"};
  }
  if (std::optional<InputError> error = chooseColumns()) return *error;
  headerEnd_ = records_.input().consumedCount();
  int row = 0;
  while ((status = records_.next()) == DelimitedRecordReader::Status::kRecord) {
    if (std::optional<InputError> error = readRow(row)) return *error;
    ++row;
  }
  if (status == DelimitedRecordReader::Status::kError) return records_.error();
  if (row == 0) {
    return InputError{InputError::kInvalidData,
                      fileName_ + ": the table holds a header but no sample rows"};
  }
  flushPendingRows();
  std::vector<double>().swap(pendingRows_);
  if (detectLabelColumn_) {
    if (std::optional<InputError> error = takeDetectedLabelColumn()) return *error;
    if (!options_.dropGenesWithMissing) {
      if (std::optional<InputError> error = firstMissingGeneValue()) return *error;
    }
  }
  // A reservation from a first row much longer than the rest leaves spare
  // room; give back anything beyond the margin reserved on purpose.
  for (std::vector<double>& values : table_.values) {
    if (static_cast<double>(values.capacity()) >
        kReserveMargin * values.size() + pendingRowLimit_) {
      values.shrink_to_fit();
    }
  }
  table_.form = ExpressionTable::Form::kTable;
  if (table_.sampleNames.empty()) {
    for (int sample = 1; sample <= row; ++sample)
      table_.sampleNames.push_back(std::to_string(sample));
  }
  std::vector<int>().swap(firstMissingLine_);
  table_.geneNames.reserve(columnOfSlot_.size());
  table_.geneColumns.reserve(columnOfSlot_.size());
  NameList::Cursor cursor(names_);
  std::size_t nextSlot = 0;
  for (int column = 0; column < static_cast<int>(names_.size()); ++column) {
    const std::string_view name = cursor.next();
    if (nextSlot < columnOfSlot_.size() && columnOfSlot_[nextSlot] == column) {
      table_.geneNames.emplace_back(name);
      table_.geneColumns.push_back(column + 1);
      ++nextSlot;
    } else {
      otherNames.emplace_back(name);
    }
  }
  if (labelColumn_ >= 0) {
    table_.labelSource = columnLabel(names_, labelColumn_);
    table_.labelName = names_[labelColumn_];
  }
  return std::move(table_);
}

}  // namespace

std::variant<ExpressionTable, InputError> readSamplesInRows(DelimitedRecordReader& records,
                                                            const TableOptions& options,
                                                            std::vector<std::string>& otherNames) {
  return SamplesInRowsReader(records, options).read(otherNames);
}

}  // namespace geneclub
