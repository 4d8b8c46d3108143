// The four formatting routines: nothing crashes, and where a value's whole
// part fits 32 bits the text reads back to the value within the routine's
// rounding.

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/formatting.h"
#include "fuzz_support.h"

using namespace venuecheck;

namespace {

bool FitsInt32(double x) {
    return std::isfinite(x) && x > -2147483648.0 && x < 2147483647.0;
}

std::string Describe(float x, const std::string& text) {
    char number[64];
    std::snprintf(number, sizeof number, "%.9g", static_cast<double>(x));
    return std::string(number) + " gave " + text;
}

void CheckFloat(float x) {
    const std::string text = FormatFloat(x);
    if (!FitsInt32(x)) return;
    // Two or three decimals, the third only when it is not zero.
    const size_t point = text.find('.');
    if (point == std::string::npos) fuzz::Fail("FormatFloat without a point", Describe(x, text));
    const size_t decimals = text.size() - point - 1;
    if (decimals != 2 && !(decimals == 3 && text.back() != '0')) {
        fuzz::Fail("FormatFloat decimals wrong", Describe(x, text));
    }
    const double back = std::strtod(text.c_str(), nullptr);
    const double x64 = x;
    if (std::fabs(back - x64) > 0.0005 + 1e-9 * std::fabs(x64)) {
        fuzz::Fail("FormatFloat does not read back", Describe(x, text));
    }
}

void CheckDistance(float x) {
    const std::string text = FormatDistance(x);
    if (!FitsInt32(x)) return;
    long feet = 0;
    const char* rest = text.c_str();
    char* end = nullptr;
    const size_t mark = text.find("' ");
    if (mark != std::string::npos) {
        feet = std::strtol(rest, &end, 10);
        if (end != rest + mark || feet <= 0)
            fuzz::Fail("FormatDistance feet wrong", Describe(x, text));
        rest = end + 2;
    }
    const long inches = std::strtol(rest, &end, 10);
    if (end == rest || std::strcmp(end, "\"") != 0) {
        fuzz::Fail("FormatDistance form wrong", Describe(x, text));
    }
    // The single-precision twelfth is a hair above 1/12: from about 33.5
    // million inches on, it counts a foot too many and the inches go below 0.
    if (feet > 0 && (inches < 0 || inches > 11) && x < 3.3e7f) {
        fuzz::Fail("FormatDistance inches out of a foot", Describe(x, text));
    }
    const double back = 12.0 * static_cast<double>(feet) + static_cast<double>(inches);
    if (std::fabs(back - static_cast<double>(x)) >= 1.0) {
        fuzz::Fail("FormatDistance does not read back", Describe(x, text));
    }
}

void CheckWeight(float w) {
    const std::string text = FormatWeight(w);
    if (!FitsInt32(w) || w < 1.0f) return;
    // "P lb(s), O oz(s), D dr(ms)" or its tail from ounces or drams on; the
    // parts add up to the whole drams.
    long total = 0;
    const char* p = text.c_str();
    while (*p != '\0') {
        char* end = nullptr;
        const long n = std::strtol(p, &end, 10);
        if (end == p || *end != ' ') fuzz::Fail("FormatWeight form wrong", Describe(w, text));
        p = end + 1;
        std::string unit;
        while (*p != '\0' && *p != ',') unit.push_back(*p++);
        if (*p == ',') ++p;
        if (unit == "lb" || unit == "lbs") {
            total += 256 * n;
        } else if (unit == "oz" || unit == "ozs") {
            total += 16 * n;
        } else if (unit == "dr" || unit == "drms") {
            total += n;
        } else {
            fuzz::Fail("FormatWeight unit wrong", Describe(w, text));
        }
    }
    if (total != static_cast<long>(w))
        fuzz::Fail("FormatWeight parts do not add up", Describe(w, text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (size_t offset = 0; offset + 4 <= size; offset += 4) {
        uint32_t bits = 0;
        std::memcpy(&bits, data + offset, 4);
        float x = 0;
        std::memcpy(&x, &bits, 4);
        const auto i = static_cast<int32_t>(bits);
        if (FormatInt(i) != std::to_string(i)) fuzz::Fail("FormatInt wrong");
        CheckFloat(x);
        CheckDistance(x);
        CheckWeight(x);
        // Whole numbers of inches, drams and thousandths as the data holds them.
        CheckFloat(static_cast<float>(i) / 1000.0f);
        CheckDistance(static_cast<float>(i % 100000));
        CheckWeight(static_cast<float>(i & 0xFFFFFF));
    }
    return 0;
}
