#include "readers/gene_names.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace geneclub {

namespace {

// Whether a name is empty or repeats another. The names' indices go into an
// open-addressing table, four bytes a slot and at most half full, so that
// the check costs little next to the names themselves.
bool needsRenaming(const std::vector<std::string>& names) {
  std::size_t capacity = 16;
  while (capacity < 2 * names.size()) capacity *= 2;
  std::vector<std::uint32_t> slots(capacity, 0);  // a name's index + 1; 0: free
  const std::hash<std::string_view> hash;
  for (std::size_t index = 0; index < names.size(); ++index) {
    const std::string& name = names[index];
    if (name.empty()) return true;
    std::size_t slot = hash(name) & (capacity - 1);
    for (; slots[slot] != 0; slot = (slot + 1) & (capacity - 1)) {
      if (names[slots[slot] - 1] == name) return true;
    }
    slots[slot] = static_cast<std::uint32_t>(index + 1);
  }
  return false;
}

}  // namespace

int giveGenesOwnNames(std::vector<std::string>& names, std::span<const int> unnamedNumbers,
                      const std::vector<std::string>& otherNames) {
  if (!needsRenaming(names)) return 0;
  std::unordered_set<std::string> written(names.begin(), names.end());
  written.insert(otherNames.begin(), otherNames.end());
  std::unordered_set<std::string> given;
  // Per name, the suffix to try first: every smaller one was taken, and a
  // name once taken stays taken.
  std::unordered_map<std::string, int> nextSuffix;
  int changed = 0;
  for (std::size_t gene = 0; gene < names.size(); ++gene) {
    std::string name =
        names[gene].empty() ? "Unnamed: " + std::to_string(unnamedNumbers[gene]) : names[gene];
    if (given.contains(name)) {
      int& suffix = nextSuffix.try_emplace(name, 1).first->second;
      std::string candidate;
      while (true) {
        candidate = name + "." + std::to_string(suffix++);
        if (!written.contains(candidate) && !given.contains(candidate)) break;
      }
      name = std::move(candidate);
    }
    given.insert(name);
    if (name != names[gene]) {
      names[gene] = std::move(name);
      ++changed;
    }
  }
  return changed;
}

}  // namespace geneclub
