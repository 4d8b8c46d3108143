#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "report/finding.h"
#include "report/recording_pane.h"
#include "report/report.h"

namespace venuecheck {

// A finding and where its line starts in the pane's text.
struct RecordedFinding {
    Finding finding;
    size_t textOffset = 0;  // of the line break that starts its line
};

// A pane that also records the findings of the check run it shows, each
// with the place of its line in the text: what every report format and the
// windows' finding lists are written from.
class CheckRecorder : public RecordingPane, public FindingListener {
public:
    const std::vector<RecordedFinding>& Findings() const { return findings_; }
    size_t TextLength() const { return textLength_; }

    void OnFinding(const Finding& finding) override {
        findings_.push_back(RecordedFinding{finding, textLength_});
    }

protected:
    void Clear() override {
        RecordingPane::Clear();
        findings_.clear();
        textLength_ = 0;
    }
    void Append(std::string_view text) override {
        RecordingPane::Append(text);
        textLength_ += text.size();
    }

private:
    std::vector<RecordedFinding> findings_;
    size_t textLength_ = 0;
};

// One check run as the machine formats write it.
struct CheckResult {
    int index = 0;  // the selector position
    std::string venue;
    std::string venueFile;
    std::vector<Finding> findings;
    FindingCounts counts;
};

}  // namespace venuecheck
