#include "report/html_page.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "report/report.h"

namespace venuecheck {
namespace {

// A check run recorded through the report, as the checker writes it.
HtmlCheck RecordedCheck(const std::function<void(Report&, ReportPane&)>& write) {
    CheckRecorder pane;
    Report report(pane, &pane);
    report.BeginCheck(0, "Lake", "venues/lake.ven");
    write(report, pane);
    return HtmlCheck{0, "Lake", "venues/lake.ven", pane.Runs(), pane.Findings(), report.Counts(),
                     {}};
}

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(RenderHtmlPage, BytesOfTheGameAsCodePage1252) {
    const HtmlCheck check = RecordedCheck([](Report&, ReportPane& pane) {
        pane.PaneAppend("Ch\xE2teau \x80 \x81 \x01 <&>\n\tA\tB");
    });
    const std::string page = RenderHtmlPage({}, {check});
    // â, the euro sign, an undefined byte and a control byte kept as bytes.
    EXPECT_NE(
        page.find("Ch\xC3\xA2teau \xE2\x82\xAC <span class=\"b\" data-b=\"81\">\xEF\xBF\xBD"
                  "</span> <span class=\"b\" data-b=\"01\">\xE2\x90\x81</span> &lt;&amp;&gt;"),
        std::string::npos);
    EXPECT_NE(page.find("\n<span class=\"t\">\t</span>A<span class=\"t\">\t</span>B"),
              std::string::npos);
}

TEST(RenderHtmlPage, FindingLinesCarryTheirRuleAndPlace) {
    const HtmlCheck check = RecordedCheck([](Report& report, ReportPane& pane) {
        pane.PaneAppend("Lake by Me");
        report.Add(RuleId::kVenueNameTooLong, Place{"venues/lake.ven", 3, "", ""});
        report.Add(RuleId::kPegDataUnreadable, Place{"pegs/a.dat", 0, "", ""});
    });
    const std::string page = RenderHtmlPage({}, {check});
    EXPECT_NE(page.find("<span class=\"ln f e\" data-rule=\"venue-name-too-long\" "
                        "title=\"venue-name-too-long \xC2\xB7 venues/lake.ven:3\"><a "
                        "href=\"#rule-venue-name-too-long\">"),
              std::string::npos);
    EXPECT_NE(page.find("title=\"peg-data-unreadable \xC2\xB7 pegs/a.dat\""), std::string::npos);
    // The help of exactly the rules shown.
    EXPECT_NE(page.find("<dt id=\"rule-venue-name-too-long\">"), std::string::npos);
    EXPECT_NE(page.find("<dt id=\"rule-peg-data-unreadable\">"), std::string::npos);
    EXPECT_EQ(Count(page, "<dt id=\"rule-"), 2u);
    EXPECT_NE(page.find("id=\"count-error\" data-n=\"2\""), std::string::npos);
}

TEST(RenderHtmlPage, MapOrNoteBesideEveryPegSection) {
    const HtmlCheck plain = RecordedCheck([](Report&, ReportPane& pane) {
        for (const char* name : {"One", "Two", "Three"}) {
            pane.PaneSetBold(1);
            pane.PaneSetFont("Tahoma", 220);
            pane.PaneAppend("\n\nPeg details for ");
            pane.PaneAppend(name);
            pane.PaneSetBold(0);
            pane.PaneSetFont("Tahoma", 200);
            pane.PaneAppend("\n\tReference\t\t1");
        }
    });
    HtmlCheck mapped = plain;
    mapped.maps = {HtmlPegMap{"\x89PNG", 480, 40, true, "One", "pegs/one.dat"},
                   HtmlPegMap{"", 0, 0, true, "Two", "pegs/two.dat"},
                   HtmlPegMap{"", 0, 0, false, "Three", "pegs/three.dat"}};
    HtmlPageInfo info;
    info.maps = true;
    const std::string page = RenderHtmlPage(info, {mapped});
    EXPECT_EQ(Count(page, "<figure class=\"map\">"), 3u);
    EXPECT_NE(page.find("<img src=\"data:image/png;base64,iVBORw==\" width=\"480\" height=\"40\""),
              std::string::npos);
    EXPECT_NE(page.find("No map: the grid of pegs/two.dat has no rows of cells."),
              std::string::npos);
    EXPECT_NE(page.find("No map: the peg data file pegs/three.dat could not be analysed."),
              std::string::npos);
    // The map follows its own section's lines.
    EXPECT_LT(page.find("Peg details for One"), page.find("data:image/png"));
    EXPECT_GT(page.find("Peg details for Two"), page.find("data:image/png"));

    // Without maps asked for, neither maps nor notes.
    EXPECT_EQ(RenderHtmlPage({}, {plain}).find("<figure"), std::string::npos);
}

}  // namespace
}  // namespace venuecheck
