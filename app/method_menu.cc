#include "app/method_menu.h"

#include <iostream>
#include <iterator>
#include <limits>

namespace geneclub {
namespace {

enum class MenuEntry { kNumber, kUnreadable, kEndOfInput };

MenuEntry readMethodNumber(int& number) {
  std::cin >> std::ws;
  if (std::cin.peek() == std::char_traits<char>::eof()) return MenuEntry::kEndOfInput;
  if (std::cin >> number) return MenuEntry::kNumber;
  std::cin.clear();
  std::cin.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
  return MenuEntry::kUnreadable;
}

// The methods of menu choices 1 to 4, in menu order.
constexpr void (*kMenuMethods[])(GeneClubAnalyzer&) = {
    [](GeneClubAnalyzer& analyzer) { analyzer.runIndependentMethod(); },
    [](GeneClubAnalyzer& analyzer) { analyzer.runDivisionMethod(); },
    [](GeneClubAnalyzer& analyzer) { analyzer.runIndependentIterativeMethod(); },
    [](GeneClubAnalyzer& analyzer) { analyzer.runDivisionIterativeMethod(); }};

// Runs method 1 to 4; returns false for any other number.
bool runMethod(GeneClubAnalyzer& analyzer, int number) {
  if (number < 1 || number > static_cast<int>(std::size(kMenuMethods))) return false;
  kMenuMethods[number - 1](analyzer);
  return true;
}

}  // namespace

void printMethodMenu() {
  std::cout << "\n\tWe have four methods to establish gene clubs:\n\n"
            << "\t1. Indepedent method\n"
            << "\t2. Divsion method\n"
            << "\t3. Independent Iterative method\n"
            << "\t4. Division Iterative method\n"
            << "\t0. Quit"
            << "\tPress 1 - 4 to choose corresponding method\n\t";
}

void runMethodDialogue(GeneClubAnalyzer& analyzer) {
  while (true) {
    int number = 0;
    const MenuEntry entry = readMethodNumber(number);
    if (entry == MenuEntry::kEndOfInput) return;
    if (entry == MenuEntry::kNumber && number == 0) return;
    if (entry == MenuEntry::kNumber && runMethod(analyzer, number)) {
      std::cout << "\tMethod " << number << " is finished, we got the EPs.\n";
    } else {
      std::cout << "\tWrong command, the input number should be between 1 and 4\n";
    }
    std::cout << "\tTry again?(y/n)\n\t";
    char answer = 'y';
    if (!(std::cin >> answer) || answer == 'n') return;
    std::cout << "\tEnter number (1 - 4)\n\t";
  }
}

}  // namespace geneclub
