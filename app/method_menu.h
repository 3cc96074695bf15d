// The console menu of the four gene-club methods and the dialogue that runs
// them: read a number, run the method, ask "Try again?", until the user
// answers "n", chooses 0 or the input ends.

#ifndef GENECLUB_APP_METHOD_MENU_H_
#define GENECLUB_APP_METHOD_MENU_H_

#include <istream>
#include <ostream>

#include "app/gene_club_session.h"

namespace geneclub {

// Writes the menu to console, ending with a tab before the user's entry.
void printMethodMenu(std::ostream& console);

// Runs the dialogue on input and console until it ends. A number
// that cannot be read (not an optional sign followed by digits, or out of
// int range) discards the rest of its input line and is answered as a wrong
// number is. The end of input at either prompt ends the dialogue as the
// answer "n" does.
void runMethodDialogue(GeneClubSession& session, std::istream& input, std::ostream& console);

}  // namespace geneclub

#endif  // GENECLUB_APP_METHOD_MENU_H_
