#pragma once

#include "report/report_pane.h"

namespace venuecheck {

// Writes every pane operation to two panes: the window's pane and the
// recorder that the saved report is written from.
class TeePane : public ReportPane {
public:
    TeePane(ReportPane& first, ReportPane& second) : first_(first), second_(second) {}

protected:
    void Clear() override {
        first_.PaneClear();
        second_.PaneClear();
    }
    void SetFont(std::string_view face, int twips) override {
        first_.PaneSetFont(face, twips);
        second_.PaneSetFont(face, twips);
    }
    void SetColour(Rgb colour) override {
        first_.PaneSetColour(colour);
        second_.PaneSetColour(colour);
    }
    void SetBold(bool on) override {
        first_.PaneSetBold(on ? 1 : 0);
        second_.PaneSetBold(on ? 1 : 0);
    }
    void Append(std::string_view text) override {
        first_.PaneAppend(text);
        second_.PaneAppend(text);
    }

private:
    ReportPane& first_;
    ReportPane& second_;
};

}  // namespace venuecheck
