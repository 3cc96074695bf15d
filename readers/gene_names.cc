#include "readers/gene_names.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace geneclub {

int giveGenesOwnNames(std::vector<std::string>& names, std::span<const int> unnamedNumbers,
                      const std::vector<std::string>& otherNames) {
  // Most tables need nothing: no name empty, none repeated.
  {
    std::unordered_set<std::string_view> seen(names.size());
    bool needed = false;
    for (const std::string& name : names) {
      if (name.empty() || !seen.insert(name).second) {
        needed = true;
        break;
      }
    }
    if (!needed) return 0;
  }
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
