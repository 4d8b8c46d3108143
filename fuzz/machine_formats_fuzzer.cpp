// The JSON and SARIF writers: whatever bytes the game's data holds in a
// finding's fields, every document is valid JSON, the JSON report is plain
// ASCII, and the SARIF log has one result per finding.

#include <string>
#include <vector>

#include "fuzz_support.h"
#include "json_syntax.h"
#include "report/json_writer.h"
#include "report/rules.h"
#include "report/sarif_writer.h"

using namespace venuecheck;

namespace {

std::string Field(fuzz::InputReader& in) {
    return std::string(in.Bytes(in.Byte() % 48));
}

Finding MakeFinding(fuzz::InputReader& in, int venueIndex) {
    Finding f;
    f.rule = static_cast<RuleId>(in.Byte() % Rules().size());
    f.severity = RuleOf(f.rule).severity;
    f.message = Field(in);
    f.file = Field(in);
    f.line = static_cast<int>(in.Word()) - 2;
    f.key = Field(in);
    f.names = Field(in);
    f.venueIndex = venueIndex;
    f.venue = Field(in);
    f.venueFile = Field(in);
    if (in.Byte() & 1) {
        f.peg = Field(in);
        f.pegFile = Field(in);
    }
    if (in.Byte() & 1) f.stock = Field(in);
    return f;
}

size_t Count(const std::string& text, std::string_view what) {
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InputReader in(fuzz::AsText(data, size));
    RunHeader header{"venuecheck", "1.0.0", std::string(in.Bytes(in.Byte() % 64))};
    std::vector<CheckResult> checks;
    size_t findings = 0;
    while (!in.Empty() && checks.size() < 8) {
        CheckResult check;
        check.index = static_cast<int>(checks.size());
        check.venue = Field(in);
        check.venueFile = Field(in);
        const int count = in.Byte() % 8;
        for (int i = 0; i < count && !in.Empty(); ++i) {
            check.findings.push_back(MakeFinding(in, check.index));
            check.counts.Add(check.findings.back().severity);
        }
        findings += check.findings.size();
        checks.push_back(std::move(check));
    }

    const std::string json = RenderJsonReport(header, checks);
    if (!fuzz::IsJson(json)) fuzz::Fail("the JSON report is not JSON", json);
    for (char c : json) {
        if (static_cast<unsigned char>(c) >= 0x80) fuzz::Fail("the JSON report is not ASCII", json);
    }
    for (const auto& check : checks) {
        for (const auto& finding : check.findings) {
            const std::string one = RenderJsonFinding(finding);
            if (!fuzz::IsJson(one)) fuzz::Fail("a finding is not JSON", one);
        }
    }
    const std::string sarif = RenderSarifReport(header, checks);
    if (!fuzz::IsJson(sarif)) fuzz::Fail("the SARIF log is not JSON", sarif);
    if (Count(sarif, "\"ruleId\": ") != findings) fuzz::Fail("a result per finding", sarif);
    if (Count(sarif, "\"startLine\": 0") != 0 || Count(sarif, "\"startLine\": -") != 0) {
        fuzz::Fail("a region starts before line 1", sarif);
    }
    const std::string rules = RenderJsonRules(header);
    if (!fuzz::IsJson(rules)) fuzz::Fail("the rule list is not JSON", rules);
    return 0;
}
