#pragma once

#include <string>

namespace venuecheck {

// The rule table, one rule a line: id, severity and title in columns.
std::string RenderRulesText();

// The rule table as the Markdown page docs/rules.md: every rule with its id,
// severity, the line it writes and its help.
std::string RenderRulesMarkdown();

}  // namespace venuecheck
