#include "common/formatting.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace venuecheck {
namespace {

// Conversion toward zero. Values beyond the 32-bit range do not occur in sound
// data; they saturate instead of overflowing, and NaN gives 0.
int64_t Truncate(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kMax = std::numeric_limits<int32_t>::max();
    constexpr double kMin = std::numeric_limits<int32_t>::min();
    if (value >= kMax) return std::numeric_limits<int32_t>::max();
    if (value <= kMin) return std::numeric_limits<int32_t>::min();
    return static_cast<int64_t>(value);
}

}  // namespace

std::string FormatInt(int32_t value) {
    return std::to_string(value);
}

std::string FormatFloat(float value) {
    std::string text;
    double x = value;
    if (x < 0) {
        text.push_back('-');
        x = -x;
    }
    int64_t whole = Truncate(x);
    int64_t thousandths = Truncate((x - static_cast<double>(whole) + 0.0005) * 1000.0);
    if (thousandths >= 1000) {
        whole += thousandths / 1000;
        thousandths %= 1000;
    }
    if (thousandths < 0) thousandths = 0;
    text += std::to_string(whole);
    text += '.';
    char decimals[8];
    if (thousandths % 100 == 0) {
        std::snprintf(decimals, sizeof decimals, "%d0", static_cast<int>(thousandths / 100));
    } else if (thousandths % 10 == 0) {
        std::snprintf(decimals, sizeof decimals, "%02d", static_cast<int>(thousandths / 10));
    } else {
        std::snprintf(decimals, sizeof decimals, "%03d", static_cast<int>(thousandths));
    }
    text += decimals;
    return text;
}

std::string FormatWeight(float drams) {
    if (drams == 0.0f) return "0 dr";
    std::string text;
    const int64_t d = Truncate(drams);
    const int64_t pounds = d / 256;
    int64_t rest = d - 256 * pounds;
    if (pounds > 0) text += std::to_string(pounds) + (pounds == 1 ? " lb, " : " lbs, ");
    const int64_t ounces = rest / 16;
    rest -= 16 * ounces;
    if (ounces > 0 || pounds > 0)
        text += std::to_string(ounces) + (ounces == 1 ? " oz, " : " ozs, ");
    if (rest > 0 || pounds > 0 || ounces > 0) {
        text += std::to_string(rest) + (rest == 1 ? " dr" : " drms");
    }
    return text;
}

std::string FormatDistance(float inches) {
    // One twelfth in single precision, a hair above it, so whole multiples of
    // 12 inches give whole feet.
    constexpr double kTwelfth = static_cast<double>(0.083333336f);
    double x = inches;
    const int64_t feet = Truncate(x * kTwelfth);
    std::string text;
    if (feet > 0) {
        text = std::to_string(feet) + "' ";
        x -= 12.0 * static_cast<double>(feet);
    }
    text += std::to_string(Truncate(x)) + "\"";
    return text;
}

}  // namespace venuecheck
