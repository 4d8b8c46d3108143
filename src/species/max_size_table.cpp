#include "species/max_size_table.h"

#include "common/game_folder.h"
#include "common/keyword_values.h"
#include "common/number_scanner.h"
#include "common/text.h"
#include "species/species_keywords.h"

namespace venuecheck {

void MaxSizeTable::LoadMaxSizes(const GameFolder& folder, std::string_view path) {
    const auto content = folder.ReadFile(path);
    if (content) ReadMaxSizeText(*content);
}

void MaxSizeTable::ReadMaxSizeText(std::string_view content) {
    const std::string text = ToTextMode(std::string(content));
    TextScanner in(text);
    while (!in.EndMet()) {
        MaxSizeEntry entry;
        std::string name;
        const bool read = ValueScan(in).Int(entry.firstValue).Int(entry.maxSize).Count() == 2 &&
                          (in.SkipWhiteSpace(), in.ReadToLineEnd(name));
        if (!read) {
            // Whatever the conversions consumed, the rest of the line goes.
            if (!in.EndMet()) in.SkipLine();
            continue;
        }
        CutAtNul(name);
        entry.name = TrimName(std::move(name));
        if (entry.name.size() > kMaxSizeNameLength) entry.name.resize(kMaxSizeNameLength);
        byName_[FoldedCopy(entry.name)] = entry.maxSize;
        entries_.push_back(std::move(entry));
    }
}

int32_t MaxSizeTable::FindMaxSize(std::optional<std::string_view> name) const {
    if (!name) return 0;
    const auto found = byName_.find(FoldedCopy(*name));
    return found == byName_.end() ? 0 : found->second;
}

bool MaxSizeTable::FreeMaxSizes() {
    const bool held = !entries_.empty();
    entries_.clear();
    byName_.clear();
    return held;
}

}  // namespace venuecheck
