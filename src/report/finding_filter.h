#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/finding.h"
#include "report/rules.h"

namespace venuecheck {

// Which findings a report shows: those at or above a severity, less the
// rules that are ignored, everywhere or only in the files a glob matches.
class FindingFilter {
public:
    // One ignored rule, "RULE" or "RULE:GLOB".
    struct Ignore {
        RuleId rule{};
        std::string glob;  // empty: everywhere
    };

    void SetMinimum(Severity lowest) { lowest_ = lowest; }
    void AddIgnore(Ignore ignore) { ignores_.push_back(std::move(ignore)); }

    bool Shows(const Finding& finding) const;

    // Reads "RULE" or "RULE:GLOB"; none, with the reason in `error`, for an
    // unknown rule or a glob that cannot be used.
    static std::optional<Ignore> ParseIgnore(std::string_view text, std::string& error);
    // "error", "warning" or "advice".
    static std::optional<Severity> ParseSeverity(std::string_view text);

private:
    Severity lowest_ = Severity::kAdvice;
    std::vector<Ignore> ignores_;
};

// Matches a finding's file against a glob: '*' is any run of characters
// ('/' included), '?' one character, letters compare without regard to case.
bool GlobMatch(std::string_view glob, std::string_view path);

}  // namespace venuecheck
