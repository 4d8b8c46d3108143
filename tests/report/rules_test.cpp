// The rule table, the documents made from it and the finding filter.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "report/finding_filter.h"
#include "report/rules.h"
#include "report/rules_document.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

TEST(RuleTable, IdsAreUniqueWordsAndEveryRuleIsDescribed) {
    std::set<std::string_view> ids;
    for (const Rule& rule : Rules()) {
        EXPECT_TRUE(ids.insert(rule.id).second) << rule.id;
        bool wordStart = true;
        for (char c : rule.id) {
            const bool letterOrDigit = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
            EXPECT_TRUE(letterOrDigit || (c == '-' && !wordStart)) << rule.id;
            wordStart = c == '-';
        }
        EXPECT_FALSE(wordStart) << rule.id;
        EXPECT_EQ(&RuleOf(rule.rule), &rule);
        EXPECT_EQ(FindRule(rule.id), &rule);
        EXPECT_FALSE(rule.title.empty()) << rule.id;
        EXPECT_FALSE(rule.message.empty()) << rule.id;
        EXPECT_GT(rule.help.size(), 40u) << rule.id;
    }
    EXPECT_EQ(FindRule("no-such-rule"), nullptr);
}

TEST(RuleTable, ThePresentationGivesThePaneLineExactly) {
    struct Case {
        RuleId rule;
        std::string message;
        std::string line;
    };
    const Case cases[] = {
        {RuleId::kVenueNameTooLong, "Venue name is more than 30 characters long",
         "\n\tError : Venue name is more than 30 characters long"},
        {RuleId::kVenueRecordsNotWritable, "Unable to write to the records file",
         "\n\tWarning : Unable to write to the records file"},
        {RuleId::kPegObjectsImprovable, "The peg could be improved by adding more objects.",
         "\n\tAdvice : The peg could be improved by adding more objects."},
        {RuleId::kStockValuesMissing, "on TEMP line.", "\n\t : Error on TEMP line."},
        {RuleId::kStockMinSizeAboveMaxSize, "MinSize is bigger than MaxSize",
         "\n\t : Error : MinSize is bigger than MaxSize"},
        {RuleId::kStockUnrecognisedCommand, "unrecognised command : FOO",
         "\n\t : Warning : unrecognised command : FOO"},
        {RuleId::kStockNotLoaded, "Can't load stock file.", "\n\tError : Can't load stock file."},
    };
    for (const Case& c : cases) {
        Finding finding;
        finding.rule = c.rule;
        finding.message = c.message;
        EXPECT_EQ(PaneLine(finding), c.line);
    }
    EXPECT_EQ(RuleLine(RuleOf(RuleId::kStockingStockNotFound)),
              "Error : can't find stock file <stock file>");
}

TEST(RuleTable, TheRulesPageIsWrittenFromTheTable) {
    // docs/rules.md is the table's own page: scripts/rules-doc writes it anew.
    const std::filesystem::path page = test::TestDataDir() / ".." / "docs" / "rules.md";
    EXPECT_EQ(test::ReadWholeFile(page), RenderRulesMarkdown())
        << "docs/rules.md differs from the rule table: run scripts/rules-doc";
}

TEST(RuleTable, TheTextListingHasOneLinePerRule) {
    const std::string listing = RenderRulesText();
    size_t lines = 0;
    for (char c : listing) lines += c == '\n';
    EXPECT_EQ(lines, Rules().size());
    EXPECT_NE(listing.find("venue-name-too-long"), std::string::npos);
}

TEST(GlobMatch, MatchesPathsWithoutRegardToCase) {
    struct Case {
        const char* glob;
        const char* path;
        bool matches;
    };
    const Case cases[] = {
        {"pegs/*", "pegs/lake/p1.peg", true},  // '*' crosses folders
        {"PEGS/*.PEG", "pegs/lake/p1.peg", true},
        {"pegs/?1.peg", "pegs/p1.peg", true},
        {"pegs/?1.peg", "pegs/p11.peg", false},
        {"*.stk", "stocks/roach.stk", true},
        {"*.stk", "stocks/roach.stk.bak", false},
        {"stocks/roach.stk", "stocks/roach.stk", true},
        {"*", "", true},
        {"a*b*c", "axxbyyc", true},
        {"a*b*c", "axxbyy", false},
        {"venues/*", "", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GlobMatch(c.glob, c.path), c.matches) << c.glob << " " << c.path;
    }
}

TEST(FindingFilter, LeavesOutLowerSeveritiesAndIgnoredRules) {
    auto finding = [](RuleId rule, const char* file) {
        Finding f;
        f.rule = rule;
        f.severity = RuleOf(rule).severity;
        f.file = file;
        return f;
    };
    const Finding error = finding(RuleId::kPegNameMissing, "pegs/lake/p1.peg");
    const Finding warning = finding(RuleId::kPegSoundsMissing, "pegs/lake/p1.peg");
    const Finding advice = finding(RuleId::kPegObjectsImprovable, "pegs/lake/p1.dat");
    const Finding elsewhere = finding(RuleId::kPegSoundsMissing, "pegs/river/p1.peg");

    FindingFilter all;
    EXPECT_TRUE(all.Shows(error) && all.Shows(warning) && all.Shows(advice));

    FindingFilter warnings;
    warnings.SetMinimum(Severity::kWarning);
    EXPECT_TRUE(warnings.Shows(error) && warnings.Shows(warning));
    EXPECT_FALSE(warnings.Shows(advice));

    std::string why;
    FindingFilter ignoring;
    ignoring.AddIgnore(*FindingFilter::ParseIgnore("peg-sounds-missing:PEGS/LAKE/*", why));
    EXPECT_FALSE(ignoring.Shows(warning));
    EXPECT_TRUE(ignoring.Shows(elsewhere));
    EXPECT_TRUE(ignoring.Shows(error));
    ignoring.AddIgnore(*FindingFilter::ParseIgnore("peg-sounds-missing", why));
    EXPECT_FALSE(ignoring.Shows(elsewhere));
}

TEST(FindingFilter, RefusesUnknownRulesAndBadGlobs) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"no-such-rule", "unknown rule 'no-such-rule' (see --list-rules)"},
        {"", "unknown rule '' (see --list-rules)"},
        {"peg-sounds-missing:",
         "empty glob in 'peg-sounds-missing:' (leave out the ':' to ignore "
         "'peg-sounds-missing' everywhere)"},
        {"peg-sounds-missing:pegs\\lake\\*", "bad glob 'pegs\\lake\\*': write '/' between folders"},
        {"peg-sounds-missing:pegs/[ab]*", "bad glob 'pegs/[ab]*': only '*' and '?' are wildcards"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(FindingFilter::ParseIgnore(c.text, error)) << c.text;
        EXPECT_EQ(error, c.error);
    }
    EXPECT_EQ(FindingFilter::ParseSeverity("warning"), Severity::kWarning);
    EXPECT_FALSE(FindingFilter::ParseSeverity("Warning"));
}

}  // namespace
}  // namespace venuecheck
