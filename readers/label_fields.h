// The per-sample fields of a file that may give the samples' labels: the
// sample characteristics ("disease state: tumour") and sample lines of a GEO
// series matrix, the column-metadata rows of a GCT 1.3 file. Given the
// field the user chose, it collects that field's value for every sample;
// without one, it notes which fields could serve (those with 2 to 10
// distinct values) so that a message can list them with their counts.
// Names are matched in any case. What it keeps is bounded: the chosen
// field's values, and a few short values for each of the first fields.

#ifndef GENECLUB_READERS_LABEL_FIELDS_H_
#define GENECLUB_READERS_LABEL_FIELDS_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

#include "readers/input_error.h"

namespace geneclub {

class LabelFields {
 public:
  // `chosen` is the field that gives the labels; empty when none is chosen.
  explicit LabelFields(std::string chosen) : chosen_(std::move(chosen)) {}

  // A key within a field's values (a GEO characteristic) wins over a field
  // of the same name that is a whole line.
  enum class Kind { kKey, kLine };

  // Sample `sample`'s value of the field `name`.
  // REQUIRES: name and value are valid UTF-8.
  void offer(Kind kind, std::string_view name, std::size_t sample, std::string_view value);

  // The chosen field's value for each of the samples, named in messages by
  // `sampleNames`; an error when no field has the chosen name, or when it
  // gives some sample no label or a missing one.
  std::variant<std::vector<std::string>, InputError> labels(
      const std::vector<std::string>& sampleNames, const std::string& fileName) const;

  // The error for a file whose labels no field was chosen to give: it lists
  // the fields with 2 to 10 distinct values, each value with its count.
  InputError choiceNeeded(const std::string& fileName) const;

 private:
  // The most distinct values a field may hold and still be listed.
  static constexpr std::size_t kMaxListedValues = 10;
  // The most fields noted for the listing, and the longest name or value
  // noted: enough for any real file, and a bound on what a hostile one
  // costs.
  static constexpr std::size_t kMaxNotedFields = 200;
  static constexpr std::size_t kMaxNotedValueBytes = 200;

  struct NotedField {
    std::string name;  // as first written
    Kind kind;
    std::vector<std::pair<std::string, int>> counts;  // in order of first appearance
    bool tooMany = false;                             // more values than are listed
  };

  std::string chosen_;
  // The chosen field's values per kind, by sample ("" for none yet), and
  // whether any sample had one.
  std::vector<std::string> chosenValues_[2];
  bool chosenSeen_[2] = {false, false};
  std::vector<NotedField> noted_;
  std::unordered_map<std::string, std::size_t> notedIndex_;  // by kind and lower-case name
  bool moreFields_ = false;  // fields beyond kMaxNotedFields were seen
};

}  // namespace geneclub

#endif  // GENECLUB_READERS_LABEL_FIELDS_H_
