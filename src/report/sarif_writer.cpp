#include "report/sarif_writer.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <tuple>

#include "report/report_formats.h"
#include "report/rules.h"

namespace venuecheck {
namespace {

bool Unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

void PutEncoded(std::string& out, unsigned char byte) {
    char buffer[4];
    std::snprintf(buffer, sizeof buffer, "%%%02X", byte);
    out += buffer;
}

std::string_view Level(Severity severity) {
    switch (severity) {
        case Severity::kError:
            return "error";
        case Severity::kWarning:
            return "warning";
        case Severity::kAdvice:
            return "note";
    }
    return "error";
}

// "venue-name-too-long" becomes "VenueNameTooLong".
std::string RuleName(std::string_view id) {
    std::string name;
    bool upper = true;
    for (char c : id) {
        if (c == '-') {
            upper = true;
            continue;
        }
        name += upper && c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
        upper = false;
    }
    return name;
}

uint64_t Fnv1a(std::string_view text, uint64_t hash = 14695981039346656037ull) {
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    return hash;
}

// The same finding of the same data gives the same fingerprint in every
// run: it leaves out the line, which moves when lines above are edited, and
// counts findings that are alike in every other way.
std::string Fingerprint(const Finding& f, int occurrence) {
    uint64_t hash = Fnv1a(RuleOf(f.rule).id);
    for (std::string_view part :
         {std::string_view(f.file), std::string_view(f.key), std::string_view(f.message),
          std::string_view(f.names), std::string_view(f.venueFile), std::string_view(f.pegFile),
          std::string_view(f.stock)}) {
        hash = Fnv1a("\x1f", hash);
        hash = Fnv1a(part, hash);
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%016llx:%d", static_cast<unsigned long long>(hash),
                  occurrence);
    return buffer;
}

std::string Text(std::string_view text) {
    return "{\"text\": " + JsonString(text) + "}";
}

std::string RuleObject(const Rule& rule) {
    const std::string line = RuleLine(rule);
    std::string markdown = std::string(rule.help) + "\n\nThe report line: `" + line + "`";
    return "{\"id\": " + JsonString(rule.id) + ", \"name\": " + JsonString(RuleName(rule.id)) +
           ", \"shortDescription\": " + Text(rule.title) + ", \"fullDescription\": " +
           Text(std::string(rule.title) + ". The report line: " + line) +
           ", \"help\": {\"text\": " + JsonString(rule.help) +
           ", \"markdown\": " + JsonString(markdown) + "}" +
           ", \"defaultConfiguration\": {\"level\": " + JsonString(Level(rule.severity)) + "}" +
           ", \"properties\": {\"severity\": " + JsonString(SeverityName(rule.severity)) + "}}";
}

}  // namespace

std::string PathUri(std::string_view path) {
    std::string out;
    for (char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (Unreserved(byte) || c == '/') {
            out += c;
        } else if (byte < 0x80) {
            PutEncoded(out, byte);
        } else {
            PutEncoded(out, static_cast<unsigned char>(0xC0 | (byte >> 6)));
            PutEncoded(out, static_cast<unsigned char>(0x80 | (byte & 0x3F)));
        }
    }
    return out;
}

std::string FolderUri(std::string_view absolutePath) {
    std::string path(absolutePath);
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    // A Windows drive path gets the slash of a URI path before its letter.
    if (path.size() >= 2 && path[1] == ':') path.insert(path.begin(), '/');
    if (path.empty() || path.back() != '/') path += '/';
    std::string uri = "file://";
    for (char c : path) {
        if (c == ':') {
            uri += c;  // the drive's colon stays as it is
        } else {
            uri += PathUri(std::string_view(&c, 1));
        }
    }
    return uri;
}

std::string RenderSarifReport(const RunHeader& header, const std::vector<CheckResult>& checks) {
    std::string out =
        "{\n  \"version\": \"2.1.0\",\n"
        "  \"$schema\": \"https://json.schemastore.org/sarif-2.1.0.json\",\n"
        "  \"runs\": [\n    {\n      \"tool\": {\n        \"driver\": {\n"
        "          \"name\": " +
        JsonString(header.toolName) +
        ",\n          \"version\": " + JsonString(header.toolVersion) +
        ",\n          \"semanticVersion\": " + JsonString(header.toolVersion) +
        ",\n          \"rules\": [";
    bool first = true;
    for (const Rule& rule : Rules()) {
        out += first ? "\n            " : ",\n            ";
        first = false;
        out += RuleObject(rule);
    }
    out +=
        "\n          ]\n        }\n      },\n      \"originalUriBaseIds\": {\"GAMEDIR\": "
        "{\"uri\": " +
        JsonString(FolderUri(header.gameDir)) + "}},\n      \"results\": [";

    std::map<std::string, int> seen;
    first = true;
    for (const CheckResult& check : checks) {
        for (const Finding& f : check.findings) {
            const Rule& rule = RuleOf(f.rule);
            const std::string& file = f.file.empty() ? check.venueFile : f.file;
            const std::string base = Fingerprint(f, 0);
            const int occurrence = seen[base]++;
            std::string message(f.message);
            out += first ? "\n        " : ",\n        ";
            first = false;
            out += "{\"ruleId\": " + JsonString(rule.id) +
                   ", \"ruleIndex\": " + std::to_string(static_cast<int>(f.rule)) +
                   ", \"level\": " + JsonString(Level(f.severity)) +
                   ", \"message\": " + Text(message) +
                   ", \"locations\": [{\"physicalLocation\": {\"artifactLocation\": {\"uri\": " +
                   JsonString(PathUri(file)) +
                   ", \"uriBaseId\": \"GAMEDIR\"}, \"region\": {\"startLine\": " +
                   std::to_string(f.line > 0 ? f.line : 1) + "}}}]" +
                   ", \"partialFingerprints\": {\"venuecheckFinding/v1\": " +
                   JsonString(Fingerprint(f, occurrence)) + "}" +
                   ", \"properties\": {\"venue\": " + JsonString(check.venue);
            if (!f.peg.empty() || !f.pegFile.empty()) out += ", \"peg\": " + JsonString(f.peg);
            if (!f.key.empty()) out += ", \"key\": " + JsonString(f.key);
            if (!f.names.empty()) out += ", \"names\": " + JsonString(f.names);
            if (!f.stock.empty()) out += ", \"stock\": " + JsonString(f.stock);
            out += "}}";
        }
    }
    out += first ? "]\n" : "\n      ]\n";
    out += "    }\n  ]\n}\n";
    return out;
}

}  // namespace venuecheck
