#include "common/formatting.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace venuecheck {
namespace {

struct FloatCase {
    float value;
    const char* text;
};

TEST(FormatFloat, RoundsToThousandthsWithTwoOrThreeDecimals) {
    const FloatCase cases[] = {
        {2.0f, "2.00"},      {2.5f, "2.50"},      {0.25f, "0.25"},   {1.05f, "1.05"},
        {3.14159f, "3.142"}, {1.005f, "1.005"},   {2.9996f, "3.00"}, {-1.5f, "-1.50"},
        {0.9996f, "1.00"},   {-0.0001f, "-0.00"}, {-0.0f, "0.00"},   {0.0f, "0.00"},
        {0.05f, "0.05"},     {0.005f, "0.005"},   {1.0f, "1.00"},    {12.345f, "12.345"},
        {99.999f, "99.999"}, {0.1f, "0.10"},      {1.25f, "1.25"},   {0.78431374f, "0.784"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatFloat(c.value), c.text) << c.value;
}

TEST(FormatFloat, NeverFailsOnValuesBeyondThirtyTwoBits) {
    // Not sound data, but it must not crash or print garbage lengths.
    for (float v : {3e38f, -3e38f, std::numeric_limits<float>::infinity(),
                    std::numeric_limits<float>::quiet_NaN()}) {
        const std::string text = FormatFloat(v);
        EXPECT_FALSE(text.empty());
        EXPECT_LT(text.size(), 64u);
    }
}

TEST(FormatInt, WritesDecimalDigits) {
    EXPECT_EQ(FormatInt(0), "0");
    EXPECT_EQ(FormatInt(-7), "-7");
    EXPECT_EQ(FormatInt(2147483647), "2147483647");
    EXPECT_EQ(FormatInt(-2147483647 - 1), "-2147483648");
}

TEST(FormatWeight, WritesPoundsOuncesAndDrams) {
    const FloatCase cases[] = {
        {300, "1 lb, 2 ozs, 12 drms"},
        {256, "1 lb, 0 ozs, 0 drms"},
        {16, "1 oz, 0 drms"},
        {17, "1 oz, 1 dr"},
        {5, "5 drms"},
        {1, "1 dr"},
        {0, "0 dr"},
        {4096, "16 lbs, 0 ozs, 0 drms"},
        {7.5f, "7 drms"},
        {0.5f, ""},
        {-3, ""},
        {-300, ""},
        {513, "2 lbs, 0 ozs, 1 dr"},
        {32, "2 ozs, 0 drms"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatWeight(c.value), c.text) << c.value;
}

TEST(FormatDistance, WritesFeetAndInches) {
    const FloatCase cases[] = {
        {30, "2' 6\""}, {264, "22' 0\""},   {11.9f, "11\""},  {0, "0\""},     {-100, "-100\""},
        {12, "1' 0\""}, {35.9f, "2' 11\""}, {360, "30' 0\""}, {25, "2' 1\""}, {1.5f, "1\""},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatDistance(c.value), c.text) << c.value;
}

}  // namespace
}  // namespace venuecheck
