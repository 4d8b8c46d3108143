#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace venuecheck {

// The stock files of one check run, unique without regard to case; the
// first spelling met is the one kept.
class StockFileList {
public:
    // False when the name is already in the list.
    bool AddStockFile(std::string_view name);

    // Empties the list; false when it was already empty.
    bool ClearStockFiles();

    // The names, the one added last first.
    std::vector<std::string> NewestFirst() const;

    bool Empty() const { return names_.empty(); }

private:
    std::vector<std::string> names_;  // in the order added
    std::unordered_set<std::string> folded_;
};

}  // namespace venuecheck
