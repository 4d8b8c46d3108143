#include "report/finding_filter.h"

#include "common/text.h"

namespace venuecheck {

bool GlobMatch(std::string_view glob, std::string_view path) {
    // The classic two-pointer match: on a mismatch, let the last '*' take one
    // more character.
    size_t g = 0;
    size_t p = 0;
    size_t starGlob = std::string_view::npos;
    size_t starPath = 0;
    while (p < path.size()) {
        if (g < glob.size() && glob[g] == '*') {
            starGlob = g++;
            starPath = p;
        } else if (g < glob.size() && (glob[g] == '?' || FoldCase(glob[g]) == FoldCase(path[p]))) {
            ++g;
            ++p;
        } else if (starGlob != std::string_view::npos) {
            g = starGlob + 1;
            p = ++starPath;
        } else {
            return false;
        }
    }
    while (g < glob.size() && glob[g] == '*') ++g;
    return g == glob.size();
}

bool FindingFilter::Shows(const Finding& finding) const {
    if (static_cast<int>(finding.severity) > static_cast<int>(lowest_)) return false;
    for (const Ignore& ignore : ignores_) {
        if (ignore.rule == finding.rule &&
            (ignore.glob.empty() || GlobMatch(ignore.glob, finding.file))) {
            return false;
        }
    }
    return true;
}

std::optional<FindingFilter::Ignore> FindingFilter::ParseIgnore(std::string_view text,
                                                                std::string& error) {
    const size_t colon = text.find(':');
    const std::string_view id = text.substr(0, colon);
    const Rule* rule = FindRule(id);
    if (rule == nullptr) {
        error = "unknown rule '" + std::string(id) + "' (see --list-rules)";
        return std::nullopt;
    }
    Ignore ignore{rule->rule, {}};
    if (colon == std::string_view::npos) return ignore;
    const std::string_view glob = text.substr(colon + 1);
    if (glob.empty()) {
        error = "empty glob in '" + std::string(text) + "' (leave out the ':' to ignore '" +
                std::string(id) + "' everywhere)";
        return std::nullopt;
    }
    if (glob.find('\\') != std::string_view::npos) {
        error = "bad glob '" + std::string(glob) + "': write '/' between folders";
        return std::nullopt;
    }
    if (glob.find_first_of("[]{}") != std::string_view::npos) {
        error = "bad glob '" + std::string(glob) + "': only '*' and '?' are wildcards";
        return std::nullopt;
    }
    ignore.glob = std::string(glob);
    return ignore;
}

std::optional<Severity> FindingFilter::ParseSeverity(std::string_view text) {
    if (text == "error") return Severity::kError;
    if (text == "warning") return Severity::kWarning;
    if (text == "advice") return Severity::kAdvice;
    return std::nullopt;
}

}  // namespace venuecheck
