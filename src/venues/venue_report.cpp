#include "venues/venue_report.h"

#include <array>
#include <string>

#include "common/file_services.h"
#include "common/formatting.h"
#include "common/text.h"
#include "report/report.h"
#include "venues/venue_catalogue.h"

namespace venuecheck {
namespace {

constexpr std::array<std::string_view, 6> kTempModels = {
    "Typical medium depth lake", "Large lake / loch",  "Slow flowing river / small pond",
    "Medium flowing river",      "Fast flowing river", "Very large lake / sea",
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
    // Where in the venue file a finding about one of its keys is mended.
    auto at = [&v, file](std::string_view section, std::string_view key,
                         std::string_view names = {}) {
        return Place{file, v.Lines.Line(section, key), IniKey(section, key), names};
    };
    auto add = [&report](RuleId rule, const Place& where) { report.Add(rule, where); };

    pane.PaneSetColour(style::kError);
    if (pegCount <= 0) add(RuleId::kVenueNoPegsLoaded, at("Details", "Dir", v.Dir));
    if (v.Flags & kNameEmpty) add(RuleId::kVenueNameMissing, at("Details", "Name"));
    if (v.Flags & kNameTooLong) add(RuleId::kVenueNameTooLong, at("Details", "Name"));
    if (v.Flags & kNameIllegalChars) {
        add(RuleId::kVenueNameIllegalCharacters, at("Details", "Name"));
    }
    if (v.Flags & kNameAmpersand) add(RuleId::kVenueNameAmpersand, at("Details", "Name"));
    if (EqualNoCase(v.Ref, kUnknown)) add(RuleId::kVenueReferenceMissing, at("Details", "Ref"));
    if (v.Ref.size() > 9) add(RuleId::kVenueReferenceTooLong, at("Details", "Ref"));
    if (v.Flags & kRefIllegalChars) {
        add(RuleId::kVenueReferenceIllegalCharacters, at("Details", "Ref"));
    }
    if (EqualNoCase(v.Dir, kUnknown)) add(RuleId::kVenuePegFolderLineMissing, at("Details", "Dir"));
    if (EqualNoCase(v.Lastpeg, kUnknown)) {
        add(RuleId::kVenueLastPegLineMissing, at("Details", "Lastpeg"));
    }
    if (EqualNoCase(v.Records, kUnknown)) {
        add(RuleId::kVenueRecordsLineMissing, at("Details", "Records"));
    }
    if (EqualNoCase(v.Lookup, kUnknown))
        add(RuleId::kVenueLookupLineMissing, at("Weather", "Lookup"));

    // The records file itself may hold the venue's records: probe a file of
    // its own beside it. This warning is red, like the errors around it.
    if (!ProbeWrite(folder, v.Records + "_test_.tmp", "Test")) {
        add(RuleId::kVenueRecordsNotWritable, at("Details", "Records", v.Records));
    }
    if (!CanWriteGameFile(folder, v.Lastpeg)) {
        add(RuleId::kVenueLastPegNotWritable, at("Details", "Lastpeg", v.Lastpeg));
    }
    if (!CanWriteGameFile(folder, v.Lookup)) {
        add(RuleId::kVenueLookupNotWritable, at("Weather", "Lookup", v.Lookup));
    }
    if (!FileExists(folder, v.Weather)) {
        add(RuleId::kVenueWeatherNotFound, at("Weather", "Weather", v.Weather));
    }
    if (v.Desc.empty()) add(RuleId::kVenueInfoBlank, at("Details", "Desc"));

    pane.PaneSetColour(style::kWarning);
    if (!v.Scrambled) add(RuleId::kVenueNotScrambled, Place{file, 0, {}, {}});
    if (!v.Desc.empty() && !EqualNoCase(v.Desc, kNone) && !FileExists(folder, v.Desc)) {
        add(RuleId::kVenueInfoNotFound, at("Details", "Desc", v.Desc));
    }
    if (!SameFolder(v.Dir, v.Records)) {
        add(RuleId::kVenueRecordsOutsidePegFolder, at("Details", "Records"));
    }
    if (!SameFolder(v.Dir, v.Lastpeg)) {
        add(RuleId::kVenueLastPegOutsidePegFolder, at("Details", "Lastpeg"));
    }
    if (!SameFolder(v.Dir, v.Lookup)) {
        add(RuleId::kVenueLookupOutsidePegFolder, at("Weather", "Lookup"));
    }
    return true;
}

}  // namespace venuecheck
