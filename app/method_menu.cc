#include "app/method_menu.h"

#include <istream>
#include <iterator>
#include <limits>

namespace geneclub {
namespace {

enum class MenuEntry { kNumber, kUnreadable, kEndOfInput };

MenuEntry readMethodNumber(std::istream& input, int& number) {
  input >> std::ws;
  if (input.peek() == std::char_traits<char>::eof()) return MenuEntry::kEndOfInput;
  if (input >> number) return MenuEntry::kNumber;
  input.clear();
  input.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
  return MenuEntry::kUnreadable;
}

// Runs method 1 to 4, in menu order; returns false for any other number.
bool runMethod(GeneClubSession& session, int number) {
  if (number < 1 || number > static_cast<int>(std::size(kClubMethods))) return false;
  session.runMethod(kClubMethods[number - 1]);
  return true;
}

}  // namespace

void printMethodMenu(std::ostream& console) {
  console << "\n\tWe have four methods to establish gene clubs:\n\n"
          << "\t1. Indepedent method\n"
          << "\t2. Divsion method\n"
          << "\t3. Independent Iterative method\n"
          << "\t4. Division Iterative method\n"
          << "\t0. Quit"
          << "\tPress 1 - 4 to choose corresponding method\n\t";
}

void runMethodDialogue(GeneClubSession& session, std::istream& input, std::ostream& console) {
  while (true) {
    int number = 0;
    const MenuEntry entry = readMethodNumber(input, number);
    if (entry == MenuEntry::kEndOfInput) return;
    if (entry == MenuEntry::kNumber && number == 0) return;
    if (entry == MenuEntry::kNumber && runMethod(session, number)) {
      console << "\tMethod " << number << " is finished, we got the EPs.\n";
    } else {
      console << "\tWrong command, the input number should be between 1 and 4\n";
    }
    console << "\tTry again?(y/n)\n\t";
    char answer = 'y';
    if (!(input >> answer) || answer == 'n') return;
    console << "\tEnter number (1 - 4)\n\t";
  }
}

}  // namespace geneclub
