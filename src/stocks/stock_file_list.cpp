#include "stocks/stock_file_list.h"

#include "common/text.h"

namespace venuecheck {

bool StockFileList::AddStockFile(std::string_view name) {
    if (!folded_.insert(FoldedCopy(name)).second) return false;
    names_.emplace_back(name);
    return true;
}

bool StockFileList::ClearStockFiles() {
    const bool held = !names_.empty();
    names_.clear();
    folded_.clear();
    return held;
}

std::vector<std::string> StockFileList::NewestFirst() const {
    return std::vector<std::string>(names_.rbegin(), names_.rend());
}

}  // namespace venuecheck
