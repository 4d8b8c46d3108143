#include "common/keyword_index.h"

#include <gtest/gtest.h>

#include <array>
#include <string_view>

namespace venuecheck {
namespace {

struct Keyword {
    std::string_view word;
    int value;
};

constexpr std::array kKeywords = {
    Keyword{"TEMP", 1}, Keyword{"O2", 2},   Keyword{"TEMPS", 3}, Keyword{"_X", 4},
    Keyword{"A", 5},    Keyword{"temp", 6}, Keyword{"Z9", 7},    Keyword{"\xE9T\xC9", 8},
};
constexpr KeywordIndex kIndex(kKeywords);

TEST(KeywordIndex, FindsWordsAsAComparisonWithoutRegardToCaseDoes) {
    struct Case {
        std::string_view text;
        int value;  // 0: none
    };
    const Case cases[] = {
        {"TEMP", 1},
        {"temp", 1},
        {"tEmP", 1},  // the first of equal words in the table
        {"temps", 3},
        {"TEM", 0},
        {"TEMPSS", 0},
        {"o2", 2},
        {"O", 0},
        {"_x", 4},
        {"a", 5},
        {"", 0},
        {"z9", 7},
        {"Z", 0},
        {"\xE9t\xC9", 8},
        {"\xC9T\xC9", 0},  // only ASCII letters fold
        {std::string_view("TEMP\0", 5), 0},
    };
    for (const Case& c : cases) {
        const Keyword* found = kIndex.Find(c.text);
        EXPECT_EQ(found == nullptr ? 0 : found->value, c.value) << c.text;
    }
}

}  // namespace
}  // namespace venuecheck
