#include "report/recording_pane.h"

namespace venuecheck {

std::string RecordingPane::PlainText() const {
    std::string text;
    for (const auto& run : runs_) text += run.text;
    return text;
}

void RecordingPane::Append(std::string_view text) {
    if (!runs_.empty() && runs_.back().style == style_) {
        runs_.back().text += text;
    } else {
        runs_.push_back(StyledRun{std::string(text), style_});
    }
}

}  // namespace venuecheck
