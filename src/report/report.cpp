#include "report/report.h"

namespace venuecheck {

FindingCounts& FindingCounts::operator+=(const FindingCounts& other) {
    errors += other.errors;
    warnings += other.warnings;
    advice += other.advice;
    return *this;
}

void Report::Write(Severity severity, std::string_view text, std::string_view file,
                   std::optional<Rgb> colour) {
    if (!colour) {
        colour = severity == Severity::kError     ? style::kError
                 : severity == Severity::kWarning ? style::kWarning
                                                  : style::kAdvice;
    }
    switch (severity) {
        case Severity::kError: ++counts_.errors; break;
        case Severity::kWarning: ++counts_.warnings; break;
        case Severity::kAdvice: ++counts_.advice; break;
    }
    if (listener_ != nullptr) listener_->OnFinding(Finding{severity, text, file});
    pane_.PaneSetColour(*colour);
    pane_.PaneAppend(text);
}

}  // namespace venuecheck
