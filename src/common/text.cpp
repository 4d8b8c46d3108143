#include "common/text.h"

#include <algorithm>

namespace venuecheck {

std::string FoldedCopy(std::string_view text) {
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(), FoldCase);
    return folded;
}

}  // namespace venuecheck
