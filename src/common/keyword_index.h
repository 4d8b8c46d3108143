#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "common/text.h"

namespace venuecheck {

// Looks a word up in a keyword table (entries with a `word`) without regard
// to case, by a binary search over the table's words, which are sorted when
// the program is built: a keyword file asks for every word it holds.
template <typename Entry, size_t N>
class KeywordIndex {
public:
    constexpr explicit KeywordIndex(const std::array<Entry, N>& table) : table_(table) {
        for (size_t i = 0; i < N; ++i) order_[i] = i;
        std::sort(order_.begin(), order_.end(), [&table](size_t a, size_t b) {
            const int order = CompareNoCase(table[a].word, table[b].word);
            return order != 0 ? order < 0 : a < b;
        });
    }

    // The entry whose word equals the text without regard to case (the
    // first in the table when several do), or none.
    const Entry* Find(std::string_view text) const {
        const auto at = std::lower_bound(order_.begin(), order_.end(), text,
                                         [this](size_t entry, std::string_view wanted) {
                                             return CompareNoCase(table_[entry].word, wanted) < 0;
                                         });
        if (at == order_.end() || CompareNoCase(table_[*at].word, text) != 0) return nullptr;
        return &table_[*at];
    }

private:
    const std::array<Entry, N>& table_;
    std::array<size_t, N> order_{};
};

}  // namespace venuecheck
