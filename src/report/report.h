#pragma once

#include <optional>
#include <string_view>

#include "report/report_pane.h"

namespace venuecheck {

enum class Severity { kError, kWarning, kAdvice };

// One finding of the report, before it becomes pane text.
struct Finding {
    Severity severity;
    std::string_view text;  // the line as the pane shows it, "\n\tError : ..."
    std::string_view file;  // the file the finding concerns
};

struct FindingCounts {
    int errors = 0;
    int warnings = 0;
    int advice = 0;
    FindingCounts& operator+=(const FindingCounts& other);
};

class FindingListener {
public:
    virtual ~FindingListener() = default;
    virtual void OnFinding(const Finding& finding) = 0;
};

// The report of check runs: the pane it writes to, and the one place every
// finding passes through, which counts it by severity and tells a listener.
class Report {
public:
    explicit Report(ReportPane& pane, FindingListener* listener = nullptr)
        : pane_(pane), listener_(listener) {}

    ReportPane& Pane() { return pane_; }

    // Writes a finding line in its severity's colour (red, purple, green), or
    // in the colour given where the report uses another.
    void Write(Severity severity, std::string_view text, std::string_view file,
               std::optional<Rgb> colour = std::nullopt);
    void Error(std::string_view text, std::string_view file) {
        Write(Severity::kError, text, file);
    }
    void Warning(std::string_view text, std::string_view file) {
        Write(Severity::kWarning, text, file);
    }
    void Advice(std::string_view text, std::string_view file) {
        Write(Severity::kAdvice, text, file);
    }

    const FindingCounts& Counts() const { return counts_; }

private:
    ReportPane& pane_;
    FindingListener* listener_;
    FindingCounts counts_;
};

}  // namespace venuecheck
