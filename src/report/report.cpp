#include "report/report.h"

#include "common/game_folder.h"
#include "common/text.h"

namespace venuecheck {

std::string IniKey(std::string_view section, std::string_view key) {
    std::string text = "[";
    text += section;
    text += "] ";
    text += key;
    return text;
}

Rgb ColourOf(Presentation presentation) {
    switch (presentation) {
        case Presentation::kError:
        case Presentation::kWarningInRed:
        case Presentation::kParserError:
        case Presentation::kParserErrorColon:
            return style::kError;
        case Presentation::kWarning:
        case Presentation::kParserWarning:
            return style::kWarning;
        case Presentation::kAdvice:
            return style::kAdvice;
        case Presentation::kLoadError:
            return style::kLoadError;
    }
    return style::kError;
}

void Report::BeginCheck(int index, std::string_view venue, std::string_view venueFile) {
    venueIndex_ = index;
    venue_ = venue;
    venueFile_ = FoundPath(venueFile);
    peg_.clear();
    pegFile_.clear();
    stock_.clear();
}

void Report::BeginPeg(std::string_view name, std::string_view file) {
    peg_ = name;
    pegFile_ = FoundPath(file);
    if (listener_ != nullptr) listener_->OnPegBegun(peg_, pegFile_);
}

void Report::EndPeg() {
    peg_.clear();
    pegFile_.clear();
    if (listener_ != nullptr) listener_->OnPegEnded();
}

void Report::BeginStock(std::string_view file) {
    stock_ = FoundPath(file);
}

void Report::EndStock() {
    stock_.clear();
}

std::string Report::FoundPath(std::string_view gamePath) const {
    return folder_ != nullptr ? folder_->FoundPath(gamePath) : GamePathWithSlashes(gamePath);
}

std::optional<Finding> Report::Make(RuleId rule, const Place& place, std::string message) const {
    const Rule& r = RuleOf(rule);
    Finding finding;
    finding.rule = rule;
    finding.severity = r.severity;
    finding.message = std::move(message);
    finding.file = FoundPath(place.file);
    finding.line = place.line;
    finding.key = place.key;
    // A default text names no file.
    if (!place.names.empty() && !EqualNoCase(place.names, kUnknown)) {
        finding.names = FoundPath(place.names);
    }
    finding.venueIndex = venueIndex_;
    finding.venue = venue_;
    finding.venueFile = venueFile_;
    finding.peg = peg_;
    finding.pegFile = pegFile_;
    finding.stock = stock_;
    if (filter_ && !filter_(finding)) return std::nullopt;
    return finding;
}

std::optional<Finding> Report::Make(RuleId rule, const Place& place) const {
    return Make(rule, place, std::string(RuleOf(rule).message));
}

void Report::Emit(const Finding& finding) {
    counts_.Add(finding.severity);
    if (listener_ != nullptr) listener_->OnFinding(finding);
    pane_.PaneSetColour(ColourOf(RuleOf(finding.rule).presentation));
    pane_.PaneAppend(PaneLine(finding));
}

bool Report::Add(RuleId rule, const Place& place, std::string message) {
    const auto finding = Make(rule, place, std::move(message));
    if (finding) Emit(*finding);
    return finding.has_value();
}

bool Report::Add(RuleId rule, const Place& place) {
    return Add(rule, place, std::string(RuleOf(rule).message));
}

}  // namespace venuecheck
