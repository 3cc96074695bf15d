// The console menu of the four gene-club methods and the dialogue that runs
// them: read a number, run the method, ask "Try again?", until the user
// answers "n", chooses 0 or the input ends.

#ifndef GENECLUB_APP_METHOD_MENU_H_
#define GENECLUB_APP_METHOD_MENU_H_

#include "data/gene_club_analyzer.h"

namespace geneclub {

// Writes the menu to standard output, ending with a tab before the user's
// entry.
void printMethodMenu();

// Runs the dialogue on standard input and output until it ends. A number
// that cannot be read (not an optional sign followed by digits, or out of
// int range) discards the rest of its input line and is answered as a wrong
// number is. The end of input at either prompt ends the dialogue as the
// answer "n" does.
void runMethodDialogue(GeneClubAnalyzer& analyzer);

}  // namespace geneclub

#endif  // GENECLUB_APP_METHOD_MENU_H_
