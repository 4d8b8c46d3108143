#include "common/number_scanner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace venuecheck {
namespace {

TEST(TextScanner, ReadsIntegersLikePercentD) {
    struct Case {
        const char* text;
        bool ok;
        int32_t value;
        size_t consumed;
    };
    const Case cases[] = {
        {"42", true, 42, 2},
        {"  \n\t-17x", true, -17, 7},
        {"+5 ", true, 5, 2},
        {"-", false, 0, 1},  // a lone sign fails and stays consumed
        {"-x", false, 0, 1},
        {"x", false, 0, 0},
        {"99999999999", true, 2147483647, 11},  // saturates
        {"-99999999999", true, -2147483647 - 1, 12},
        {"12.5", true, 12, 2},
        {"007", true, 7, 3},
    };
    for (const auto& c : cases) {
        TextScanner scanner(c.text);
        int32_t value = 0;
        EXPECT_EQ(scanner.ReadInt(value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
        EXPECT_EQ(scanner.Position(), c.consumed) << c.text;
    }
}

TEST(TextScanner, ReadsRealsLikePercentF) {
    struct Case {
        const char* text;
        bool ok;
        float value;
        size_t consumed;
    };
    const Case cases[] = {
        {"1.5", true, 1.5f, 3},      {" -2.25e1 ", true, -22.5f, 8},
        {".5", true, 0.5f, 2},       {"3.", true, 3.0f, 2},
        {"7", true, 7.0f, 1},        {"1e3", true, 1000.0f, 3},
        {".", false, 0, 1},          {"1e", false, 0, 2},
        {"1e+x", false, 0, 3},       {"inf", false, 0, 0},
        {"nan", false, 0, 0},        {"0x10", true, 0.0f, 1},
        {"1.5.3", true, 1.5f, 3},    {"0.1", true, 0.1f, 3},
        {"1e40", true, INFINITY, 4}, {"1e-50", true, 0.0f, 5},
    };
    for (const auto& c : cases) {
        TextScanner scanner(c.text);
        float value = -1;
        EXPECT_EQ(scanner.ReadFloat(value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
        EXPECT_EQ(scanner.Position(), c.consumed) << c.text;
    }
}

TEST(TextScanner, ReportsTheEndLikeACStream) {
    // The end is met only by looking past the last byte.
    TextScanner a("TEMP\n");
    std::string word;
    EXPECT_TRUE(a.ReadWord(word));
    EXPECT_EQ(word, "TEMP");
    EXPECT_FALSE(a.EndMet());
    EXPECT_FALSE(a.ReadWord(word));
    EXPECT_TRUE(a.EndMet());

    TextScanner b("END");
    EXPECT_TRUE(b.ReadWord(word));
    EXPECT_TRUE(b.EndMet());

    TextScanner c("12");
    int32_t value = 0;
    EXPECT_TRUE(c.ReadInt(value));
    EXPECT_TRUE(c.EndMet());
}

TEST(TextScanner, ReadsWordsOfAnyLengthAndLines) {
    const std::string longWord(10000, 'x');
    const std::string text = longWord + " next\nrest of line\nlast";
    TextScanner scanner(text);
    std::string word;
    ASSERT_TRUE(scanner.ReadWord(word));
    EXPECT_EQ(word, longWord);
    ASSERT_TRUE(scanner.ReadWord(word));
    EXPECT_EQ(word, "next");
    scanner.SkipLine();
    std::string line;
    ASSERT_TRUE(scanner.ReadToLineEnd(line));
    EXPECT_EQ(line, "rest of line");
    EXPECT_FALSE(scanner.ReadToLineEnd(line));  // at the line feed: nothing to take
    EXPECT_FALSE(scanner.EndMet());
}

TEST(IniNumbers, TakeTheLongestNumericPrefix) {
    EXPECT_EQ(IniInt("12abc"), 12);
    EXPECT_EQ(IniInt("abc"), 0);
    EXPECT_EQ(IniInt("  -3"), -3);
    EXPECT_EQ(IniInt("+"), 0);
    EXPECT_EQ(IniInt("99999999999"), 2147483647);
    EXPECT_EQ(IniInt("1.9"), 1);
    EXPECT_FLOAT_EQ(IniFloat("2.5 feet"), 2.5f);
    EXPECT_FLOAT_EQ(IniFloat("1.5e"), 1.5f);
    EXPECT_FLOAT_EQ(IniFloat("1e2"), 100.0f);
    EXPECT_FLOAT_EQ(IniFloat("x1"), 0.0f);
    EXPECT_FLOAT_EQ(IniFloat(""), 0.0f);
    EXPECT_FLOAT_EQ(IniFloat("-.25"), -0.25f);
    // Read as double, then made float.
    EXPECT_EQ(IniFloat("0.1"), static_cast<float>(0.1));
}

}  // namespace
}  // namespace venuecheck
