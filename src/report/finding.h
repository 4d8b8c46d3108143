#pragma once

#include <string>

namespace venuecheck {

enum class Severity { kError, kWarning, kAdvice };

// "error", "warning" or "advice".
std::string_view SeverityName(Severity severity);

enum class RuleId : int;

// One finding of a check run: what the report line says, and where the
// builder mends it.
struct Finding {
    RuleId rule{};
    Severity severity = Severity::kError;
    std::string message;  // the line's text after its prefix
    // The data file to mend, relative to the game folder with '/' separators
    // and the letter case found on disk; empty when there is none.
    std::string file;
    int line = 0;         // 1-based line in the file; 0 for none
    std::string key;      // "[Details] Name" or a keyword such as "TEMP"
    std::string names;    // the file the finding names, if it names one
    int venueIndex = -1;  // the check run's selector position
    std::string venue;
    std::string venueFile;
    std::string peg;  // the peg's name, when the finding belongs to a peg
    std::string pegFile;
    std::string stock;  // the stock file the finding belongs to
};

struct FindingCounts {
    int errors = 0;
    int warnings = 0;
    int advice = 0;
    void Add(Severity severity);
    FindingCounts& operator+=(const FindingCounts& other);
    friend bool operator==(const FindingCounts&, const FindingCounts&) = default;
};

}  // namespace venuecheck
