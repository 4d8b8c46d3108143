#include "common/text.h"

#include <algorithm>

namespace venuecheck {

std::string FoldedCopy(std::string_view text) {
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldCase);
    return folded;
}

int LineCounter::LineAt(size_t position) {
    position = std::min(position, text_.size());
    if (position < counted_) {
        counted_ = 0;
        line_ = 1;
    }
    line_ +=
        static_cast<int>(std::count(text_.begin() + static_cast<std::ptrdiff_t>(counted_),
                                    text_.begin() + static_cast<std::ptrdiff_t>(position), '\n'));
    counted_ = position;
    return line_;
}

}  // namespace venuecheck
