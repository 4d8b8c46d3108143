#pragma once

#include <windows.h>

#include "app/report_pane.h"

namespace venuecheck {

// The report pane as the "RichEdit20A" control: every operation is one
// message, sent synchronously, acting at the insertion point (the empty
// selection at the end of the text during a check run).
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
};

}  // namespace venuecheck
