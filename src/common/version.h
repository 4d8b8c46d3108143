#pragma once

#include <string_view>

namespace venuecheck {

// The product's version, set once in the top CMakeLists.txt.
inline constexpr std::string_view kVersion = VENUECHECK_VERSION;

}  // namespace venuecheck
