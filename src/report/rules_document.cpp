#include "report/rules_document.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "report/rules.h"

namespace venuecheck {
namespace {

std::string Padded(std::string_view text, size_t width) {
    std::string out(text);
    if (out.size() < width) out.append(width - out.size(), ' ');
    return out;
}

struct Group {
    std::string_view prefix;
    std::string_view heading;
    std::string_view where;
};

constexpr std::array kGroups = {
    Group{"venue-", "The venue file",
          "These findings point at the venue file (`venues/*.ven`) and at the line of the key "
          "they are about; when the key is missing, at the line of the section it belongs in."},
    Group{"peg-", "Pegs",
          "These findings point at the peg file and the line of its key, or at the peg's data "
          "file (a binary file, without lines) for the figures of its grid."},
    Group{"stocking-", "Stocking lists",
          "These findings point at the peg's stocking list and the line of the record."},
    Group{"stock-", "Stock files",
          "These findings point at the stock file and the line of its statement (for the "
          "summary's judgements, the REF statement that names the species, or MAXSIZE)."},
};

}  // namespace

std::string RenderRulesText() {
    size_t idWidth = 0;
    for (const Rule& rule : Rules()) idWidth = std::max(idWidth, rule.id.size());
    std::string out;
    for (const Rule& rule : Rules()) {
        out += Padded(rule.id, idWidth + 2) + Padded(SeverityName(rule.severity), 9) +
               std::string(rule.title) + "\n";
    }
    return out;
}

std::string RenderRulesMarkdown() {
    std::string out =
        "# Rules\n\n"
        "Every line of a report that is an error, a warning or advice belongs to one rule. The "
        "id of a rule never changes, whatever the wording of its line: use it with `--ignore`, "
        "in scripts that read `--format json`, and in code scanning (`--format sarif`).\n\n"
        "`venuecheck --list-rules` prints this table; `--list-rules --format json` prints it as "
        "JSON. Where part of a line varies, the part is named in angle brackets.\n\n"
        "| id | severity | title |\n|---|---|---|\n";
    for (const Rule& rule : Rules()) {
        out += "| [`" + std::string(rule.id) + "`](#" + std::string(rule.id) + ") | " +
               std::string(SeverityName(rule.severity)) + " | " + std::string(rule.title) + " |\n";
    }
    for (const Group& group : kGroups) {
        out += "\n## " + std::string(group.heading) + "\n\n" + std::string(group.where) + "\n";
        for (const Rule& rule : Rules()) {
            if (rule.id.substr(0, group.prefix.size()) != group.prefix) continue;
            // "stock-" would also take the stocking rules.
            if (group.prefix == "stock-" && rule.id.substr(0, 9) == "stocking-") continue;
            out += "\n### " + std::string(rule.id) + "\n\n" + std::string(rule.title) + ".\n\n" +
                   "- severity: " + std::string(SeverityName(rule.severity)) + "\n" + "- line: `" +
                   RuleLine(rule) + "`\n\n" + std::string(rule.help) + "\n";
        }
    }
    return out;
}

}  // namespace venuecheck
