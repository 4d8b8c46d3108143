// Runs the built command line on every fixture game folder and compares its
// whole output with the expected files beside the fixture.
//
// A fixture is a folder tests/fixtures/NAME holding `game/` (the game
// folder) and the expected output of `--all` in `expected.text` and
// `expected.runs`. Set VENUECHECK_UPDATE_EXPECTED=1 to write the expected
// files from the current output instead (then read them through by hand).

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace fs = std::filesystem;
using venuecheck::test::ReadWholeFile;
using venuecheck::test::RunCommand;
using venuecheck::test::ShellQuote;
using venuecheck::test::TempFolder;
using venuecheck::test::TestDataDir;

namespace {

std::vector<std::string> FixturesWithExpectations() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(TestDataDir() / "fixtures")) {
        if (fs::exists(entry.path() / "game")) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

class FixtureOutput : public ::testing::TestWithParam<std::string> {};

TEST_P(FixtureOutput, MatchesExpectedTextAndRuns) {
    const fs::path fixture = TestDataDir() / "fixtures" / GetParam();
    const bool update = std::getenv("VENUECHECK_UPDATE_EXPECTED") != nullptr;
    for (const std::string format : {"text", "runs"}) {
        TempFolder game;
        fs::copy(fixture / "game", game.Path(), fs::copy_options::recursive);
        const auto result =
            RunCommand(ShellQuote(VENUECHECK_BINARY) + " --game-dir " +
                       ShellQuote(game.Path().string()) + " --all --format " + format);
        ASSERT_TRUE(result.status == 0 || result.status == 1) << "exit status " << result.status;
        const fs::path expected = fixture / ("expected." + format);
        if (update) {
            std::ofstream(expected, std::ios::binary) << result.out;
            continue;
        }
        ASSERT_TRUE(fs::exists(expected)) << expected;
        EXPECT_EQ(ReadWholeFile(expected), result.out) << "format " << format;
    }
}

GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(FixtureOutput);

INSTANTIATE_TEST_SUITE_P(Fixtures, FixtureOutput, ::testing::ValuesIn(FixturesWithExpectations()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                             std::string name = param.param;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name;
                         });

}  // namespace
