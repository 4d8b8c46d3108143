#include "pegs/peg_report.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "common/file_services.h"
#include "common/formatting.h"
#include "common/text.h"
#include "pegs/peg_catalogue.h"
#include "pegs/peg_data.h"
#include "pegs/peg_map.h"
#include "report/report.h"
#include "stocks/peg_stocking.h"
#include "venues/venue_catalogue.h"

namespace venuecheck {
namespace {

constexpr std::array<std::string_view, 10> kSeaTypes = {
    "Not sea",       "Sand beach",          "Estuary",         "Pier",  "Rock", "Mud beach",
    "Shingle beach", "Sand / rock patches", "Deep open water", "Wreck",
};

// The four graded figures of a peg whose data file was analysed.
struct Grades {
    float depthAccuracy = 0.0f;  // percent of the 255 depth values used
    int32_t addedObjects = 0;
    float barePercentage = 0.0f;  // percent of the water cells without objects
    uint32_t uniqueAreas = 0;     // distinct object masks
};

}  // namespace

std::string_view SeaTypeName(int32_t seaType) {
    if (seaType >= 0 && seaType < static_cast<int32_t>(kSeaTypes.size())) {
        return kSeaTypes[static_cast<size_t>(seaType)];
    }
    return "User sea type";
}

// The peg's section, its figures drawn for the observer, taken from the
// source, or worked out here.
void ReportPegFrom(const GameFolder& folder, Report& report, const std::vector<PegRecord>& pegs,
                   const PegRecord& peg, StockFileList& stockFiles, PegAnalysis& analysis,
                   PegGridObserver* gridObserver, const PegDataSource* source);

void ReportPeg(const GameFolder& folder, Report& report, const std::vector<PegRecord>& pegs,
               const PegRecord& peg, StockFileList& stockFiles) {
    PegAnalysis analysis;
    ReportPeg(folder, report, pegs, peg, stockFiles, analysis);
}

void ReportPeg(const GameFolder& folder, Report& report, const std::vector<PegRecord>& pegs,
               const PegRecord& peg, StockFileList& stockFiles, PegAnalysis& analysis,
               PegGridObserver* gridObserver) {
    ReportPegFrom(folder, report, pegs, peg, stockFiles, analysis, gridObserver, nullptr);
}

void ReportPeg(const GameFolder& folder, Report& report, const std::vector<PegRecord>& pegs,
               const PegRecord& peg, StockFileList& stockFiles, PegAnalysis& analysis,
               const PegDataSource& source) {
    ReportPegFrom(folder, report, pegs, peg, stockFiles, analysis, nullptr, &source);
}

void ReportPegFrom(const GameFolder& folder, Report& report, const std::vector<PegRecord>& pegs,
                   const PegRecord& peg, StockFileList& stockFiles, PegAnalysis& analysis,
                   PegGridObserver* gridObserver, const PegDataSource* source) {
    ReportPane& pane = report.Pane();
    const std::string_view file = peg.path;
    report.BeginPeg(peg.Name, peg.path);

    pane.PaneSetColour(style::kBlack);
    pane.PaneSetFont(style::kFace, style::kHeadingSize);
    pane.PaneSetBold(1);
    pane.PaneAppend("\n\n");
    pane.PaneAppend("Peg details for ");
    pane.PaneAppend(peg.Name);
    pane.PaneSetBold(0);
    pane.PaneSetFont(style::kFace, style::kBodySize);

    auto detail = [&pane](std::string_view label, std::string_view value) {
        pane.PaneAppend(label);
        pane.PaneAppend(value);
    };
    detail("\n\tReference\t\t", FormatInt(peg.Ref));
    detail("\n\tFile-name\t\t", peg.path);
    detail("\n\tImage file\t\t", peg.Image);
    detail("\n\tData file\t\t\t", peg.Data);
    detail("\n\tRecords file\t\t", peg.Records);
    detail("\n\tStocks file\t\t", peg.Fish);
    detail("\n\tSound file\t\t", peg.Sounds);
    if (!EqualNoCase(peg.Desc, kNone)) detail("\n\tInfo file\t\t\t", peg.Desc);
    detail("\n\tDepth ratio\t\t", FormatFloat(peg.DPRatio));
    pane.PaneAppend(" ( max depth = ");
    // 264, not the 255 of the deepest depth value: the game's own figure.
    pane.PaneAppend(FormatDistance(static_cast<float>(peg.DPRatio * 264.0)));
    pane.PaneAppend(" )");
    detail("\n\tTemperature factor\t", FormatFloat(peg.Temp));
    detail("\n\tO2 factor\t\t", FormatFloat(peg.O2));
    detail("\n\tPH\t\t\t", FormatFloat(peg.PH));
    detail("\n\tTurbidity\t\t", FormatFloat(peg.Turbid));
    detail("\n\tSalinity\t\t\t", FormatFloat(peg.Saline));
    detail("\n\tMax light penetration\t", FormatDistance(static_cast<float>(peg.Maxlight)));
    detail("\n\tSea type\t\t", SeaTypeName(peg.Seatype));

    // A data file that cannot be analysed shows zeros (and the added objects
    // when its object table was read) and is not graded.
    analysis.Clear();
    std::optional<Grades> grades;
    if (!peg.Data.empty() || gridObserver != nullptr) {
        // A map is drawn from the grid as it is read, in turn; otherwise the
        // figures may have been worked out ahead.
        const PegDataOutline data =
            gridObserver != nullptr
                ? AnalysePegDataFileFor(folder, peg.Data, peg, analysis, *gridObserver)
            : (source != nullptr && *source) ? (*source)(peg, analysis)
                                             : AnalysePegDataFile(folder, peg.Data, peg, analysis);
        analysis.addedObjects = data.addedObjects;
        if (data.analysed) {
            grades.emplace();
            grades->depthAccuracy = DepthCoverage(analysis) * 100.0f;
        }
    }
    float barePercentage = 0.0f;
    float objectVariation = 0.0f;  // 0 to 1
    if (analysis.waterCells > 0) {
        barePercentage = static_cast<float>(analysis.bareCells * 100.0 / analysis.waterCells);
        objectVariation = static_cast<float>(std::min(
            1.0, 50.0 * static_cast<double>(analysis.uniqueMasks.Count()) / analysis.waterCells));
    }
    if (grades) {
        grades->addedObjects = analysis.addedObjects;
        grades->barePercentage = barePercentage;
        grades->uniqueAreas = static_cast<uint32_t>(analysis.uniqueMasks.Count());
    }

    detail("\n\tDepth areas\t\t", FormatInt(analysis.waterCells));
    detail("\n\tAverage depth\t\t", FormatDistance(analysis.averageDepth));
    detail("\n\tShallowest\t\t", FormatDistance(analysis.shallowest));
    detail("\n\tDeepest\t\t\t", FormatDistance(analysis.deepest));
    detail("\n\tDepth accuracy\t\t",
           FormatInt(grades ? static_cast<int32_t>(grades->depthAccuracy) : 0));
    pane.PaneAppend(" %");
    detail("\n\tAdded objects\t\t", FormatInt(analysis.addedObjects));
    detail("\n\tUsed objects\t\t", FormatInt(analysis.usedObjects));
    detail("\n\tBare areas\t\t", FormatInt(analysis.bareCells));
    pane.PaneAppend(" ( ");
    pane.PaneAppend(FormatFloat(barePercentage));
    pane.PaneAppend(" % )");
    detail("\n\tUnique object areas\t",
           FormatInt(static_cast<int32_t>(analysis.uniqueMasks.Count())));
    detail("\n\tObject variation\t\t", FormatFloat(objectVariation * 100.0f));
    pane.PaneAppend(" %");
    pane.PaneAppend("\n");

    const bool refShared = std::count_if(pegs.begin(), pegs.end(), [&peg](const PegRecord& other) {
                               return other.Ref == peg.Ref;
                           }) > 1;
    const bool dataExists = FileExists(folder, peg.Data);

    // Where in the peg file a finding about one of its keys is mended; the
    // graded findings are mended in the data file, which has no lines.
    auto at = [&peg, file](std::string_view section, std::string_view key,
                           std::string_view names = {}) {
        return Place{file, peg.Lines.Line(section, key), IniKey(section, key), names};
    };
    const Place inData{peg.Data, 0, {}, {}};
    auto add = [&report](RuleId rule, const Place& where) { report.Add(rule, where); };

    pane.PaneSetColour(style::kError);
    if (refShared) add(RuleId::kPegReferenceNotUnique, at("Details", "Ref"));
    if (EqualNoCase(peg.Name, kUnknown)) add(RuleId::kPegNameMissing, at("Details", "Name"));
    if (EqualNoCase(peg.Image, kUnknown)) add(RuleId::kPegImageMissing, at("Files", "Image"));
    if (!FileExists(folder, peg.Image)) {
        add(RuleId::kPegImageNotFound, at("Files", "Image", peg.Image));
    }
    if (EqualNoCase(peg.Data, kUnknown)) add(RuleId::kPegDataMissing, at("Files", "Data"));
    if (!dataExists) add(RuleId::kPegDataNotFound, at("Files", "Data", peg.Data));
    // An archive path passes the existence test but is never read: the game
    // reads peg data from the file system only.
    if (dataExists && !IsArchivePath(peg.Data) && !grades) {
        add(RuleId::kPegDataUnreadable, Place{peg.Data, 0, {}, {}});
    }
    if (EqualNoCase(peg.Records, kUnknown)) {
        add(RuleId::kPegRecordsMissing, at("Files", "Records"));
    }
    if (EqualNoCase(peg.Fish, kUnknown)) add(RuleId::kPegStocksMissing, at("Files", peg.FishKey));
    if (!FileExists(folder, peg.Fish)) {
        add(RuleId::kPegStocksNotFound, at("Files", peg.FishKey, peg.Fish));
    }
    if (peg.Desc.empty()) add(RuleId::kPegInfoBlank, at("Details", "Desc"));
    if (grades) {
        if (grades->depthAccuracy < 10.0f) add(RuleId::kPegDepthAccuracyPoor, inData);
        if (grades->addedObjects < 5) add(RuleId::kPegObjectsTooFew, inData);
        if (grades->barePercentage > 50.0f) add(RuleId::kPegBareAreasTooMany, inData);
        if (grades->uniqueAreas <= 10) add(RuleId::kPegUniqueAreasTooFew, inData);
    }

    pane.PaneSetColour(style::kWarning);
    if (!peg.Desc.empty() && !EqualNoCase(peg.Desc, kNone) && !FileExists(folder, peg.Desc)) {
        add(RuleId::kPegInfoNotFound, at("Details", "Desc", peg.Desc));
    }
    if (EqualNoCase(peg.Sounds, kUnknown)) add(RuleId::kPegSoundsMissing, at("Files", "Sounds"));
    if (!FileExists(folder, peg.Sounds)) {
        add(RuleId::kPegSoundsNotFound, at("Files", "Sounds", peg.Sounds));
    }
    // The records file itself may hold the peg's records: probe a file of its
    // own beside it.
    if (!ProbeWrite(folder, peg.Records + "_test_.tmp", "Test")) {
        add(RuleId::kPegRecordsNotWritable, at("Files", "Records", peg.Records));
    }
    if (grades) {
        if (grades->depthAccuracy >= 10.0f && grades->depthAccuracy < 15.0f) {
            add(RuleId::kPegDepthAccuracyFair, inData);
        }
        if (grades->addedObjects >= 5 && grades->addedObjects < 7) {
            add(RuleId::kPegObjectsFew, inData);
        }
        if (grades->barePercentage > 10.0f && grades->barePercentage <= 50.0f) {
            add(RuleId::kPegBareAreasMany, inData);
        }
        if (grades->uniqueAreas > 10 && grades->uniqueAreas < 30) {
            add(RuleId::kPegUniqueAreasFew, inData);
        }
    }

    pane.PaneSetColour(style::kAdvice);
    if (grades) {
        if (grades->depthAccuracy >= 15.0f && grades->depthAccuracy <= 30.0f) {
            add(RuleId::kPegDepthAccuracyImprovable, inData);
        }
        if (grades->addedObjects >= 7 && grades->addedObjects < 16) {
            add(RuleId::kPegObjectsImprovable, inData);
        }
        if (grades->barePercentage > 0.0f && grades->barePercentage <= 10.0f) {
            add(RuleId::kPegBareAreasImprovable, inData);
        }
        if (grades->uniqueAreas >= 30 && grades->uniqueAreas < 60) {
            add(RuleId::kPegUniqueAreasImprovable, inData);
        }
    }

    CheckPegStocking(folder, report, peg.Fish, stockFiles);
    report.EndPeg();
}

}  // namespace venuecheck
