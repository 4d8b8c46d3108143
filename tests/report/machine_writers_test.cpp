// The JSON and SARIF writers, on findings made by hand. (Whole reports of
// every fixture are validated against their schemas by machine_formats_test.py.)

#include <gtest/gtest.h>

#include <string>

#include "report/json_writer.h"
#include "report/sarif_writer.h"

namespace venuecheck {
namespace {

Finding Example() {
    Finding f;
    f.rule = RuleId::kVenueWeatherNotFound;
    f.severity = Severity::kError;
    f.message = "Can't find the weather file specified";
    f.file = "venues/mill.ven";
    f.line = 12;
    f.key = "[Weather] Weather";
    f.names = "weather/mill.wea";
    f.venueIndex = 3;
    f.venue = "Mill Pond";
    f.venueFile = "venues/mill.ven";
    return f;
}

TEST(JsonWriter, WritesTheFieldsThatHaveValues) {
    EXPECT_EQ(RenderJsonFinding(Example()),
              "{\"rule\": \"venue-weather-not-found\", \"severity\": \"error\", \"message\": "
              "\"Can't find the weather file specified\", \"file\": \"venues/mill.ven\", \"line\": "
              "12, \"key\": \"[Weather] Weather\", \"names\": \"weather/mill.wea\", \"venue\": "
              "{\"index\": 3, \"name\": \"Mill Pond\"}}");
    Finding bare;
    bare.rule = RuleId::kStockNotLoaded;
    bare.message = "Can't load stock file.";
    EXPECT_EQ(RenderJsonFinding(bare),
              "{\"rule\": \"stock-not-loaded\", \"severity\": \"error\", "
              "\"message\": \"Can't load stock file.\"}");
}

TEST(JsonWriter, EscapesEveryByteOfTheGamesText) {
    Finding f = Example();
    f.message = std::string("a\"b\\c\td\x01\xE9", 9);
    f.peg = "P\xFF";
    f.pegFile = "pegs/p.peg";
    f.stock = "s.stk";
    const std::string json = RenderJsonFinding(f);
    EXPECT_NE(json.find("\"message\": \"a\\\"b\\\\c\\td\\u0001\\u00e9\""), std::string::npos)
        << json;
    EXPECT_NE(json.find("\"peg\": {\"name\": \"P\\u00ff\", \"file\": \"pegs/p.peg\"}"),
              std::string::npos);
    EXPECT_NE(json.find("\"stock\": \"s.stk\""), std::string::npos);
    for (char c : json) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
}

TEST(JsonWriter, ReportsAndCountsEveryCheck) {
    const RunHeader header{"venuecheck", "1.2.3", "/games/pelarin"};
    EXPECT_EQ(RenderJsonReport(header, {}),
              "{\n  \"tool\": {\"name\": \"venuecheck\", \"version\": \"1.2.3\"},\n  \"gameDir\": "
              "\"/games/pelarin\",\n  \"checks\": [],\n  \"counts\": {\"errors\": 0, \"warnings\": "
              "0, \"advice\": 0}\n}\n");
    CheckResult one{0, "A", "venues/a.ven", {Example()}, {1, 0, 0}};
    CheckResult two{1, "B", "venues/b.ven", {}, {0, 2, 1}};
    const std::string json = RenderJsonReport(header, {one, two});
    EXPECT_NE(json.find("\"counts\": {\"errors\": 1, \"warnings\": 2, \"advice\": 1}\n}"),
              std::string::npos)
        << json;
}

TEST(SarifWriter, MakesUrisOfPathsAndFolders) {
    const struct {
        const char* path;
        const char* uri;
    } paths[] = {
        {"venues/mill.ven", "venues/mill.ven"},
        {"pegs/my lake/p#1.peg", "pegs/my%20lake/p%231.peg"},
        {"caf\xE9.ven", "caf%C3%A9.ven"},
        {"a%b", "a%25b"},
    };
    for (const auto& c : paths) EXPECT_EQ(PathUri(c.path), c.uri) << c.path;
    EXPECT_EQ(FolderUri("/games/pelarin"), "file:///games/pelarin/");
    EXPECT_EQ(FolderUri("/games/my game/"), "file:///games/my%20game/");
    EXPECT_EQ(FolderUri("C:\\Games\\Pelarin"), "file:///C:/Games/Pelarin/");
}

std::string FingerprintOf(const std::string& sarif) {
    const std::string key = "\"venuecheckFinding/v1\": \"";
    const size_t at = sarif.find(key);
    return at == std::string::npos ? "" : sarif.substr(at + key.size(), 19);
}

TEST(SarifWriter, FingerprintsFollowTheFindingNotItsLine) {
    const RunHeader header{"venuecheck", "1.2.3", "/g"};
    const Finding f = Example();
    Finding moved = f;
    moved.line = 40;
    Finding other = f;
    other.names = "weather/other.wea";
    auto print = [&header](const Finding& finding) {
        return FingerprintOf(
            RenderSarifReport(header, {CheckResult{0, "A", "venues/mill.ven", {finding}, {}}}));
    };
    EXPECT_FALSE(print(f).empty());
    EXPECT_EQ(print(f), print(moved));
    EXPECT_NE(print(f), print(other));

    // Two findings alike in everything get fingerprints of their own.
    const std::string twice =
        RenderSarifReport(header, {CheckResult{0, "A", "venues/mill.ven", {f, f}, {}}});
    const size_t first = twice.find(":0\"}");
    EXPECT_NE(first, std::string::npos);
    EXPECT_NE(twice.find(":1\"}", first), std::string::npos);
}

TEST(SarifWriter, LocatesAFindingWithoutAFileAtItsVenueFile) {
    Finding f;
    f.rule = RuleId::kStockNotLoaded;
    f.message = "Can't load stock file.";
    const std::string sarif =
        RenderSarifReport(RunHeader{"venuecheck", "1.2.3", "/g"},
                          {CheckResult{0, "A", "venues/a.ven", {f}, {1, 0, 0}}});
    EXPECT_NE(sarif.find("{\"uri\": \"venues/a.ven\", \"uriBaseId\": \"GAMEDIR\"}, \"region\": "
                         "{\"startLine\": 1}"),
              std::string::npos)
        << sarif;
    EXPECT_EQ(sarif.find("{\n  \"version\": \"2.1.0\""), 0u);
}

}  // namespace
}  // namespace venuecheck
