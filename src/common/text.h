#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace venuecheck {

// The texts a venue or peg file's value defaults to when its key is missing;
// the reports test for them.
inline constexpr std::string_view kUnknown = "[Unknown]";
inline constexpr std::string_view kNone = "[None]";

// Folds 'A'..'Z' to 'a'..'z' and leaves every other byte alone, as the game
// does when it compares names, keywords, keys and default texts.
constexpr char FoldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares byte by byte after folding ASCII letters; the first differing byte
// decides as an unsigned value, and a text that ends first is the smaller.
// Usable when the program is built (the keyword tables are sorted then).
constexpr int CompareNoCase(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(FoldCase(a[i]));
        const auto y = static_cast<unsigned char>(FoldCase(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

inline bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

std::string FoldedCopy(std::string_view text);

// The line (from 1) of a position in a text: the line feeds before it, plus
// one. Cheap when the positions asked for rise, as a reader's do.
class LineCounter {
public:
    explicit LineCounter(std::string_view text) : text_(text) {}
    int LineAt(size_t position);

private:
    std::string_view text_;
    size_t counted_ = 0;  // the line feeds before this position are in line_
    int line_ = 1;
};

}  // namespace venuecheck
