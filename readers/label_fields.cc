#include "readers/label_fields.h"

#include "readers/table_text.h"

namespace geneclub {
namespace {

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

}  // namespace

void LabelFields::offer(Kind kind, std::string_view name, std::size_t sample,
                        std::string_view value) {
  const std::string lowerName = lowerCase(name);
  const int k = static_cast<int>(kind);
  if (!chosen_.empty() && lowerName == lowerCase(chosen_)) {
    std::vector<std::string>& values = chosenValues_[k];
    if (values.size() <= sample) values.resize(sample + 1);
    if (values[sample].empty()) values[sample] = value;
    chosenSeen_[k] = true;
  }
  if (name.size() > kMaxNotedValueBytes) return;  // no name a person would type
  const std::string key = std::to_string(k) + lowerName;
  auto found = notedIndex_.find(key);
  if (found == notedIndex_.end()) {
    if (noted_.size() == kMaxNotedFields) {
      moreFields_ = true;
      return;
    }
    found = notedIndex_.emplace(key, noted_.size()).first;
    noted_.push_back({std::string(name), kind, {}, false});
  }
  NotedField& field = noted_[found->second];
  if (field.tooMany || value.empty()) return;
  for (auto& [text, count] : field.counts) {
    if (text == value) {
      ++count;
      return;
    }
  }
  if (field.counts.size() == kMaxListedValues || value.size() > kMaxNotedValueBytes) {
    field.tooMany = true;
    field.counts.clear();
    field.counts.shrink_to_fit();
    return;
  }
  field.counts.emplace_back(value, 1);
}

std::variant<std::vector<std::string>, InputError> LabelFields::labels(
    const std::vector<std::string>& sampleNames, const std::string& fileName) const {
  const int k = chosenSeen_[static_cast<int>(Kind::kKey)] ? static_cast<int>(Kind::kKey)
                                                          : static_cast<int>(Kind::kLine);
  if (!chosenSeen_[k]) {
    std::string names;
    for (const NotedField& field : noted_) {
      names += (names.empty() ? "" : ", ") + quoteForMessage(field.name);
    }
    if (moreFields_) names += ", ...";
    return InputError{
        InputError::kInvalidData,
        fileName + ": no field is named " + quoteForMessage(chosen_) +
            (names.empty() ? "; the file has no fields" : "; the fields are " + names)};
  }
  const std::vector<std::string>& values = chosenValues_[k];
  std::vector<std::string> labels;
  labels.reserve(sampleNames.size());
  for (std::size_t sample = 0; sample < sampleNames.size(); ++sample) {
    const std::string_view value = sample < values.size() ? values[sample] : std::string_view();
    if (isMissingWord(value)) {
      return InputError{InputError::kInvalidData,
                        fileName + ": the field " + quoteForMessage(chosen_) + " gives sample " +
                            std::to_string(sample + 1) + " (" +
                            quoteForMessage(sampleNames[sample]) + ") no label" +
                            (value.empty() ? std::string() : " (" + quoteForMessage(value) + ")")};
    }
    labels.emplace_back(value);
  }
  return labels;
}

InputError LabelFields::choiceNeeded(const std::string& fileName) const {
  std::string listed;
  for (const NotedField& field : noted_) {
    if (field.tooMany || field.counts.size() < 2) continue;
    listed += (listed.empty() ? "" : "; ") + quoteForMessage(field.name) + " (";
    for (std::size_t v = 0; v < field.counts.size(); ++v) {
      listed += (v == 0 ? "" : ", ") + quoteForMessage(field.counts[v].first) + " " +
                std::to_string(field.counts[v].second);
    }
    listed += ")";
  }
  return {InputError::kInvalidData,
          fileName +
              ": choose the field that gives the labels with --label-field, or give a "
              "labels file with --labels; " +
              (listed.empty() ? std::string("no field holds 2 to 10 distinct values")
                              : "fields with 2 to 10 distinct values: " + listed)};
}

}  // namespace geneclub
