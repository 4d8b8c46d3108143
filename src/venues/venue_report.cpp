#include "venues/venue_report.h"

#include <array>
#include <string>

#include "report/report.h"
#include "common/file_services.h"
#include "common/formatting.h"
#include "common/text.h"
#include "venues/venue_catalogue.h"

namespace venuecheck {
namespace {

constexpr std::array<std::string_view, 6> kTempModels = {
    "Typical medium depth lake", "Large lake / loch",    "Slow flowing river / small pond",
    "Medium flowing river",      "Fast flowing river",   "Very large lake / sea",
};

// Whether the game can write a file it keeps from one game to the next (the
// last peg fished, the temperature look-up). One that exists already is never
// probed; one that stands there but cannot be read is not probed either, since
// the probe would change it and then delete it.
bool CanWriteGameFile(const GameFolder& folder, const std::string& path) {
    if (FileExists(folder, path)) return true;
    return !PathInUse(folder, path) && ProbeWrite(folder, path, "test");
}

}  // namespace

std::string_view TempModelName(int tempModel) {
    if (tempModel >= 1 && tempModel <= static_cast<int>(kTempModels.size())) {
        return kTempModels[static_cast<size_t>(tempModel - 1)];
    }
    return "User temp model";
}

bool WriteVenueReport(const GameFolder& folder, Report& report, const VenueRecord* venue,
                      int pegCount) {
    ReportPane& pane = report.Pane();
    pane.PaneClear();
    if (venue == nullptr) return false;
    const VenueRecord& v = *venue;
    const std::string_view file = v.Path;

    pane.PaneSetFont(style::kFace, style::kTitleSize);
    pane.PaneSetColour(style::kTitle);
    pane.PaneAppend(v.Name);
    pane.PaneAppend(" by ");
    pane.PaneAppend(v.Creator);
    pane.PaneAppend(" ( ");
    pane.PaneAppend(v.Date);
    pane.PaneAppend(" )");
    pane.PaneAppend("\n\n");

    WriteSectionHeading(pane, "Venue details");
    auto detail = [&pane](std::string_view label, std::string_view value) {
        pane.PaneAppend(label);
        pane.PaneAppend(value);
    };
    detail("\n\tFile-name\t\t", v.Path);
    detail("\n\tReference\t\t", v.Ref);
    detail("\n\tScrambled\t\t", v.Scrambled ? "Yes" : "No");
    detail("\n\tPegs\t\t\t", FormatInt(pegCount));
    detail("\n\tPeg Folder\t\t", v.Dir);
    if (!EqualNoCase(v.Desc, kNone)) detail("\n\tInfo file\t\t\t", v.Desc);
    detail("\n\tRecords file\t\t", v.Records);
    detail("\n\tLast peg file\t\t", v.Lastpeg);
    detail("\n\tLevel\t\t\t", FormatFloat(v.Level));
    detail("\n\tWeather file\t\t", v.Weather);
    detail("\n\tTemp lookup file\t\t", v.Lookup);
    detail("\n\tTemp model\t\t", TempModelName(v.Tempmodel));
    detail("\n\tTemp fact\t\t", FormatFloat(v.Tempfact));
    pane.PaneAppend("\n");

    pane.PaneSetFont(style::kFace, style::kBodySize);
    pane.PaneSetColour(style::kError);
    if (pegCount <= 0) report.Error("\n\tError : No pegs loaded", file);
    if (v.Flags & kNameEmpty) report.Error("\n\tError : No venue name specified", file);
    if (v.Flags & kNameTooLong) {
        report.Error("\n\tError : Venue name is more than 30 characters long", file);
    }
    if (v.Flags & kNameIllegalChars) {
        report.Error("\n\tError : Venue name contains illegal characters", file);
    }
    if (v.Flags & kNameAmpersand) {
        report.Error("\n\tError : Venue name contains the & character", file);
    }
    if (EqualNoCase(v.Ref, kUnknown)) report.Error("\n\tError : No venue reference given", file);
    if (v.Ref.size() > 9) report.Error("\n\tError : Venue reference exceeds 9 characters", file);
    if (v.Flags & kRefIllegalChars) {
        report.Error("\n\tError : Venue reference contains illegal characters", file);
    }
    if (EqualNoCase(v.Dir, kUnknown)) report.Error("\n\tError : PegDir line isn't present", file);
    if (EqualNoCase(v.Lastpeg, kUnknown)) {
        report.Error("\n\tError : LastPeg line isn't present", file);
    }
    if (EqualNoCase(v.Records, kUnknown)) {
        report.Error("\n\tError : Records line isn't present", file);
    }
    if (EqualNoCase(v.Lookup, kUnknown)) report.Error("\n\tError : Lookup line isn't present", file);

    // The records file itself may hold the venue's records: probe a file of
    // its own beside it. This warning is red, like the errors around it.
    if (!ProbeWrite(folder, v.Records + "_test_.tmp", "Test")) {
        report.Write(Severity::kWarning, "\n\tWarning : Unable to write to the records file",
                     v.Records, style::kError);
    }
    if (!CanWriteGameFile(folder, v.Lastpeg)) {
        report.Error("\n\tError : Unable to write the last peg fished to file", v.Lastpeg);
    }
    if (!CanWriteGameFile(folder, v.Lookup)) {
        report.Error("\n\tError : Unable to write the temp look up file", v.Lookup);
    }
    if (!FileExists(folder, v.Weather)) {
        report.Error("\n\tError : Can't find the weather file specified", v.Weather);
    }
    if (v.Desc.empty()) report.Error("\n\tError : Info file specified is blank", file);

    pane.PaneSetColour(style::kWarning);
    if (!v.Scrambled) {
        report.Warning("\n\tWarning : Venue file not scrambled, it's wiser to scramble these.",
                       file);
    }
    if (!v.Desc.empty() && !EqualNoCase(v.Desc, kNone) && !FileExists(folder, v.Desc)) {
        report.Warning("\n\tWarning : Can't find the info file specified", v.Desc);
    }
    if (!SameFolder(v.Dir, v.Records)) {
        report.Warning("\n\tWarning : Records file not in same folder as peg folder", file);
    }
    if (!SameFolder(v.Dir, v.Lastpeg)) {
        report.Warning("\n\tWarning : Last peg file not in same folder as peg folder", file);
    }
    if (!SameFolder(v.Dir, v.Lookup)) {
        report.Warning("\n\tWarning : Temp lookup file not in same folder as peg folder", file);
    }
    return true;
}

}  // namespace venuecheck
