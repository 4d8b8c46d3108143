#pragma once

#include <string>
#include <string_view>

namespace venuecheck {

// Folds 'A'..'Z' to 'a'..'z' and leaves every other byte alone, as the game
// does when it compares names, keywords, keys and default texts.
constexpr char FoldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares byte by byte after folding ASCII letters; the first differing byte
// decides as an unsigned value, and a text that ends first is the smaller.
int CompareNoCase(std::string_view a, std::string_view b);

inline bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

std::string FoldedCopy(std::string_view text);

}  // namespace venuecheck
