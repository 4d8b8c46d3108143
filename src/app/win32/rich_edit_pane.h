#pragma once

#include <windows.h>

#include <string>

#include "report/report_pane.h"

namespace venuecheck {

// The report pane as the "RichEdit20A" control: every operation is one
// message, sent synchronously, acting at the insertion point (the empty
// selection at the end of the text during a check run).
//
// One message is added: the control takes the format for text inserted at
// the start of a line from the paragraph mark after it, not from the text
// before, so a format set before a line break would not hold for what is
// appended after it. Text appended at the start of a line is therefore
// preceded by the whole current format (face, size, colour, bold).
class RichEditPane : public ReportPane {
public:
    RichEditPane() = default;
    explicit RichEditPane(HWND control) : control_(control) {}

    void Attach(HWND control) { control_ = control; }
    HWND Control() const { return control_; }

protected:
    void Clear() override;
    void SetFont(std::string_view face, int twips) override;
    void SetColour(Rgb colour) override;
    void SetBold(bool on) override;
    void Append(std::string_view text) override;

private:
    // Until the control exists the messages go nowhere, as they would to a
    // window that failed to be created.
    HWND control_ = nullptr;

    // The format in force at the insertion point; the pane starts in the
    // body format.
    std::string face_{style::kFace};
    int twips_ = style::kBodySize;
    Rgb colour_ = style::kBlack;
    bool bold_ = false;
    bool atLineStart_ = true;
};

}  // namespace venuecheck
