#pragma once

#include <string>
#include <vector>

#include "report/report_pane.h"

namespace venuecheck {

// The style of appended text.
struct TextStyle {
    std::string face{style::kFace};
    int size = style::kBodySize;
    Rgb colour = style::kBlack;
    bool bold = false;
    friend bool operator==(const TextStyle&, const TextStyle&) = default;
};

// A maximal stretch of appended text with one style.
struct StyledRun {
    std::string text;
    TextStyle style;
    friend bool operator==(const StyledRun&, const StyledRun&) = default;
};

// A pane that keeps its content as styled runs: the command line renders
// them as text, runs or html, and the tests compare them.
class RecordingPane : public ReportPane {
public:
    const std::vector<StyledRun>& Runs() const { return runs_; }
    std::string PlainText() const;

protected:
    void Clear() override { runs_.clear(); }
    void SetFont(std::string_view face, int twips) override {
        style_.face = std::string(face);
        style_.size = twips;
    }
    void SetColour(Rgb colour) override { style_.colour = colour; }
    void SetBold(bool on) override { style_.bold = on; }
    void Append(std::string_view text) override;

private:
    TextStyle style_;
    std::vector<StyledRun> runs_;
};

}  // namespace venuecheck
