#include "pegs/peg_report.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "report/report.h"
#include "common/file_services.h"
#include "common/formatting.h"
#include "common/text.h"
#include "pegs/peg_catalogue.h"
#include "pegs/peg_data.h"
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

void ReportPeg(const GameFolder& folder, Report& report, const std::vector<PegRecord>& pegs,
               const PegRecord& peg, StockFileList& stockFiles) {
    PegAnalysis analysis;
    ReportPeg(folder, report, pegs, peg, stockFiles, analysis);
}

void ReportPeg(const GameFolder& folder, Report& report, const std::vector<PegRecord>& pegs,
               const PegRecord& peg, StockFileList& stockFiles, PegAnalysis& analysis) {
    ReportPeg(folder, report, pegs, peg, stockFiles, analysis, nullptr);
}

void ReportPeg(const GameFolder& folder, Report& report, const std::vector<PegRecord>& pegs,
               const PegRecord& peg, StockFileList& stockFiles, PegAnalysis& analysis,
               const PegDataSource& source) {
    ReportPane& pane = report.Pane();
    const std::string_view file = peg.path;

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
    if (!peg.Data.empty()) {
        const PegDataOutline data = source ? source(peg, analysis)
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

    pane.PaneSetColour(style::kError);
    if (refShared) report.Error("\n\tError : Peg reference is not unique on the venue", file);
    if (EqualNoCase(peg.Name, kUnknown)) report.Error("\n\tError : No peg name specified", file);
    if (EqualNoCase(peg.Image, kUnknown)) {
        report.Error("\n\tError : No peg image file specified", file);
    }
    if (!FileExists(folder, peg.Image)) {
        report.Error("\n\tError : Peg image file not found", peg.Image);
    }
    if (EqualNoCase(peg.Data, kUnknown)) report.Error("\n\tError : No data file specified", file);
    if (!dataExists) report.Error("\n\tError : Peg data file not found", peg.Data);
    // An archive path passes the existence test but is never read: the game
    // reads peg data from the file system only.
    if (dataExists && !IsArchivePath(peg.Data) && !grades) {
        report.Error("\n\tError : Peg data file can't be read", peg.Data);
    }
    if (EqualNoCase(peg.Records, kUnknown)) {
        report.Error("\n\tError : No peg records file specified", file);
    }
    if (EqualNoCase(peg.Fish, kUnknown)) report.Error("\n\tError : No stocks file specified", file);
    if (!FileExists(folder, peg.Fish)) {
        report.Error("\n\tError : Peg stocks file not found", peg.Fish);
    }
    if (peg.Desc.empty()) {
        report.Error("\n\tError : Info file specified on Desc line is blank", file);
    }
    if (grades) {
        if (grades->depthAccuracy < 10.0f) {
            report.Error("\n\tError : Depth accuracy requires attention.", peg.Data);
        }
        if (grades->addedObjects < 5) {
            report.Error("\n\tError : There needs to be at least 5 objects in the peg", peg.Data);
        }
        if (grades->barePercentage > 50.0f) {
            report.Error("\n\tError : There are too many areas without any objects on the peg",
                         peg.Data);
        }
        if (grades->uniqueAreas <= 10) {
            report.Error("\n\tError : There are too few unique object areas on the peg to cast to.",
                         peg.Data);
        }
    }

    pane.PaneSetColour(style::kWarning);
    if (!peg.Desc.empty() && !EqualNoCase(peg.Desc, kNone) && !FileExists(folder, peg.Desc)) {
        report.Warning("\n\tWarning : Can't find the info file specified", peg.Desc);
    }
    if (EqualNoCase(peg.Sounds, kUnknown)) {
        report.Warning("\n\tWarning : No sounds file specified", file);
    }
    if (!FileExists(folder, peg.Sounds)) {
        report.Warning("\n\tWarning : Peg sounds file not found", peg.Sounds);
    }
    // The records file itself may hold the peg's records: probe a file of its
    // own beside it.
    if (!ProbeWrite(folder, peg.Records + "_test_.tmp", "Test")) {
        report.Warning("\n\tWarning : Unable to write to the peg records file", peg.Records);
    }
    if (grades) {
        if (grades->depthAccuracy >= 10.0f && grades->depthAccuracy < 15.0f) {
            report.Warning("\n\tWarning : Depth accuracy could be improved", peg.Data);
        }
        if (grades->addedObjects >= 5 && grades->addedObjects < 7) {
            report.Warning("\n\tWarning : There really should be more objects in the peg",
                           peg.Data);
        }
        if (grades->barePercentage > 10.0f && grades->barePercentage <= 50.0f) {
            report.Warning("\n\tWarning : There are a lot of areas without any objects on the peg",
                           peg.Data);
        }
        if (grades->uniqueAreas > 10 && grades->uniqueAreas < 30) {
            report.Warning(
                "\n\tWarning : There are aren't many unique object areas on the peg to cast to.",
                peg.Data);
        }
    }

    pane.PaneSetColour(style::kAdvice);
    if (grades) {
        if (grades->depthAccuracy >= 15.0f && grades->depthAccuracy <= 30.0f) {
            report.Advice(
                "\n\tAdvice : The peg could be improved with more detailed depth modelling",
                peg.Data);
        }
        if (grades->addedObjects >= 7 && grades->addedObjects < 16) {
            report.Advice("\n\tAdvice : The peg could be improved by adding more objects.",
                          peg.Data);
        }
        if (grades->barePercentage > 0.0f && grades->barePercentage <= 10.0f) {
            report.Advice(
                "\n\tAdvice : There are a few areas without any objects on the peg, these could "
                "be added to improve the peg",
                peg.Data);
        }
        if (grades->uniqueAreas >= 30 && grades->uniqueAreas < 60) {
            report.Advice(
                "\n\tAdvice : The peg would be improved if there were more unique object areas "
                "to cast to.",
                peg.Data);
        }
    }

    CheckPegStocking(folder, report, peg.Fish, stockFiles);
}

}  // namespace venuecheck
