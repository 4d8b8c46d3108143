// Writes the rules page (docs/rules.md) from the rule table to standard output.

#include <iostream>

#include "report/rules_document.h"

int main() {
    std::cout << venuecheck::RenderRulesMarkdown();
    return std::cout.flush() ? 0 : 1;
}
