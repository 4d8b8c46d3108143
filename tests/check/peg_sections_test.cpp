// The report tells its listener where each peg's section begins and ends,
// so a window can tell which peg a place of the report belongs to.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/checker.h"
#include "report/check_record.h"
#include "support/test_support.h"

namespace venuecheck {
namespace {

// Records the sections with the length of the text written before each
// event, and the findings with the section they came in.
class SectionRecorder : public CheckRecorder {
public:
    struct Section {
        std::string name;
        std::string file;
        size_t begun = 0;
        size_t ended = 0;
        int findings = 0;
    };
    std::vector<Section> sections;
    bool inside = false;

    void OnPegBegun(const std::string& name, const std::string& file) override {
        EXPECT_FALSE(inside) << name;
        sections.push_back(Section{name, file, TextLength(), 0, 0});
        inside = true;
    }
    void OnPegEnded() override {
        EXPECT_TRUE(inside);
        sections.back().ended = TextLength();
        inside = false;
    }
    void OnFinding(const Finding& finding) override {
        CheckRecorder::OnFinding(finding);
        if (!finding.peg.empty()) {
            ASSERT_TRUE(inside) << finding.message;
            EXPECT_EQ(finding.peg, sections.back().name);
            EXPECT_EQ(finding.pegFile, sections.back().file);
            ++sections.back().findings;
        }
    }
};

TEST(PegSections, EachPegsSectionIsToldWithItsNameAndFile) {
    test::TempFolder game;
    game.CopyFixture("venue-basics/game");
    Checker checker{GameFolder(game.Path())};
    checker.StartUp();
    const std::vector<std::string> names = checker.VenueNames();
    int pegsSeen = 0;
    for (size_t position = 0; position < names.size(); ++position) {
        SectionRecorder pane;
        Report report(pane, &pane);
        ASSERT_TRUE(checker.CheckRun(static_cast<int>(position), report));
        EXPECT_FALSE(pane.inside);
        ASSERT_EQ(pane.sections.size(), checker.Pegs().size()) << names[position];
        const std::string text = pane.PlainText();
        for (size_t i = 0; i < pane.sections.size(); ++i) {
            const auto& section = pane.sections[i];
            EXPECT_EQ(section.name, checker.Pegs()[i].Name);
            EXPECT_EQ(section.file, checker.Folder().FoundPath(checker.Pegs()[i].path));
            // The section's text is its heading and all that follows it.
            EXPECT_EQ(text.substr(section.begun, 18 + section.name.size()),
                      "\n\nPeg details for " + section.name);
            EXPECT_LT(section.begun, section.ended);
            if (i > 0) {
                EXPECT_LE(pane.sections[i - 1].ended, section.begun);
            }
            ++pegsSeen;
        }
    }
    EXPECT_GE(pegsSeen, 4);
}

}  // namespace
}  // namespace venuecheck
