#pragma once

#include <cstdint>
#include <string>

namespace venuecheck {

// Decimal digits, with "-" before a negative number.
std::string FormatInt(int32_t value);

// Rounded to thousandths, halves upward, with two or three decimals: 2.00,
// 0.25, 1.05, 3.142, -1.50.
std::string FormatFloat(float value);

// A weight in drams as pounds, ounces and drams: "1 lb, 2 ozs, 12 drms".
std::string FormatWeight(float drams);

// A distance in inches as feet and inches: 2' 6".
std::string FormatDistance(float inches);

}  // namespace venuecheck
