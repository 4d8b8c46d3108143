#include "report/json_writer.h"

#include "report/report_formats.h"
#include "report/rules.h"

namespace venuecheck {
namespace {

std::string Counts(const FindingCounts& counts) {
    return "{\"errors\": " + std::to_string(counts.errors) +
           ", \"warnings\": " + std::to_string(counts.warnings) +
           ", \"advice\": " + std::to_string(counts.advice) + "}";
}

std::string Tool(const RunHeader& header) {
    return "{\"name\": " + JsonString(header.toolName) +
           ", \"version\": " + JsonString(header.toolVersion) + "}";
}

}  // namespace

std::string RenderJsonFinding(const Finding& f) {
    std::string out = "{\"rule\": " + JsonString(RuleOf(f.rule).id) +
                      ", \"severity\": " + JsonString(SeverityName(f.severity)) +
                      ", \"message\": " + JsonString(f.message);
    if (!f.file.empty()) out += ", \"file\": " + JsonString(f.file);
    if (f.line > 0) out += ", \"line\": " + std::to_string(f.line);
    if (!f.key.empty()) out += ", \"key\": " + JsonString(f.key);
    if (!f.names.empty()) out += ", \"names\": " + JsonString(f.names);
    if (f.venueIndex >= 0) {
        out += ", \"venue\": {\"index\": " + std::to_string(f.venueIndex) +
               ", \"name\": " + JsonString(f.venue) + "}";
    }
    if (!f.pegFile.empty()) {
        out += ", \"peg\": {\"name\": " + JsonString(f.peg) +
               ", \"file\": " + JsonString(f.pegFile) + "}";
    }
    if (!f.stock.empty()) out += ", \"stock\": " + JsonString(f.stock);
    out += "}";
    return out;
}

std::string RenderJsonReport(const RunHeader& header, const std::vector<CheckResult>& checks) {
    std::string out = "{\n  \"tool\": " + Tool(header) +
                      ",\n  \"gameDir\": " + JsonString(header.gameDir) + ",\n  \"checks\": [";
    FindingCounts total;
    for (size_t c = 0; c < checks.size(); ++c) {
        const CheckResult& check = checks[c];
        total += check.counts;
        out += c == 0 ? "\n" : ",\n";
        out += "    {\n      \"index\": " + std::to_string(check.index) +
               ",\n      \"venue\": " + JsonString(check.venue) +
               ",\n      \"venueFile\": " + JsonString(check.venueFile) +
               ",\n      \"findings\": [";
        for (size_t i = 0; i < check.findings.size(); ++i) {
            out += i == 0 ? "\n        " : ",\n        ";
            out += RenderJsonFinding(check.findings[i]);
        }
        out += check.findings.empty() ? "]" : "\n      ]";
        out += ",\n      \"counts\": " + Counts(check.counts) + "\n    }";
    }
    out += checks.empty() ? "]" : "\n  ]";
    out += ",\n  \"counts\": " + Counts(total) + "\n}\n";
    return out;
}

std::string RenderJsonRules(const RunHeader& header) {
    std::string out = "{\n  \"tool\": " + Tool(header) + ",\n  \"rules\": [";
    bool first = true;
    for (const Rule& rule : Rules()) {
        out += first ? "\n    " : ",\n    ";
        first = false;
        out += "{\"id\": " + JsonString(rule.id) +
               ", \"severity\": " + JsonString(SeverityName(rule.severity)) +
               ", \"title\": " + JsonString(rule.title) +
               ", \"line\": " + JsonString(RuleLine(rule)) +
               ", \"help\": " + JsonString(rule.help) + "}";
    }
    out += "\n  ]\n}\n";
    return out;
}

}  // namespace venuecheck
