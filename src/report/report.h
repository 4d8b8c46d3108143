#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "report/finding.h"
#include "report/report_pane.h"
#include "report/rules.h"

namespace venuecheck {

class GameFolder;

// Where a finding is mended, as the game's data names it.
struct Place {
    std::string_view file;  // a path from the game's data
    int line = 0;           // 0 for none
    std::string key;
    std::string_view names;  // a file the finding names, if any
};

// "[Details] Name": how a finding names an INI key.
std::string IniKey(std::string_view section, std::string_view key);

class FindingListener {
public:
    virtual ~FindingListener() = default;
    // Called for every finding that is shown, before its line reaches the pane.
    virtual void OnFinding(const Finding& finding) = 0;
    // Called when a peg's section begins, before its heading reaches the
    // pane, with the peg's name and file as the findings name them; and when
    // it ends.
    virtual void OnPegBegun(const std::string& /*name*/, const std::string& /*file*/) {}
    virtual void OnPegEnded() {}
};

// The report of check runs: the pane it writes to, and the one place every
// finding passes through. It completes each finding with the check run's
// venue, peg and stock, and with its file as the game folder holds it; asks
// the filter whether it is shown; counts it; tells the listener; and writes
// its line in the rule's presentation.
class Report {
public:
    explicit Report(ReportPane& pane, FindingListener* listener = nullptr)
        : pane_(pane), listener_(listener) {}

    ReportPane& Pane() { return pane_; }

    // The folder whose letter case on disk the findings' files take; without
    // one, files stay as the data writes them ('\' made '/').
    void SetFolder(const GameFolder* folder) { folder_ = folder; }
    // Findings the filter refuses are neither counted nor written.
    void SetFilter(std::function<bool(const Finding&)> filter) { filter_ = std::move(filter); }
    void SetListener(FindingListener* listener) { listener_ = listener; }

    // What the findings that follow belong to.
    void BeginCheck(int index, std::string_view venue, std::string_view venueFile);
    void BeginPeg(std::string_view name, std::string_view file);
    void EndPeg();
    void BeginStock(std::string_view file);
    void EndStock();

    // The finding of a rule at a place, with the rule's own message or the
    // one given; none when the filter refuses it.
    std::optional<Finding> Make(RuleId rule, const Place& place, std::string message) const;
    std::optional<Finding> Make(RuleId rule, const Place& place) const;
    // Counts the finding, tells the listener and writes its line.
    void Emit(const Finding& finding);

    // Make and Emit in one; false when the finding is not shown.
    bool Add(RuleId rule, const Place& place, std::string message);
    bool Add(RuleId rule, const Place& place);

    const FindingCounts& Counts() const { return counts_; }

private:
    std::string FoundPath(std::string_view gamePath) const;

    ReportPane& pane_;
    FindingListener* listener_;
    const GameFolder* folder_ = nullptr;
    std::function<bool(const Finding&)> filter_;
    FindingCounts counts_;
    int venueIndex_ = -1;
    std::string venue_;
    std::string venueFile_;
    std::string peg_;
    std::string pegFile_;
    std::string stock_;
};

// The pane colour of a presentation.
Rgb ColourOf(Presentation presentation);

}  // namespace venuecheck
