// Gives every gene a name of its own, the way pandas names the columns it
// reads, so that no two genes of a result share a name and none is empty.

#ifndef GENECLUB_READERS_GENE_NAMES_H_
#define GENECLUB_READERS_GENE_NAMES_H_

#include <span>
#include <string>
#include <vector>

namespace geneclub {

// Renames, in order: an empty name becomes "Unnamed: N", N being
// unnamedNumbers[gene]; a name equal to one given before gets the first
// free suffix ".1", ".2", ..., free among the names as written (those of
// `otherNames` too: the header's names that are no genes) and the names
// given so far. Returns how many names changed.
// REQUIRES: unnamedNumbers.size() == names.size().
int giveGenesOwnNames(std::vector<std::string>& names, std::span<const int> unnamedNumbers,
                      const std::vector<std::string>& otherNames);

}  // namespace geneclub

#endif  // GENECLUB_READERS_GENE_NAMES_H_
