#include "data/process_state.h"

namespace geneclub {

std::vector<int> geneNumbers;
std::vector<int> geneIndexList;
int incompleteGeneCount = 0;
int duplicateGeneCount = 0;

}  // namespace geneclub
