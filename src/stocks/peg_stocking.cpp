#include "stocks/peg_stocking.h"

#include <new>
#include <optional>
#include <string>

#include "common/file_services.h"
#include "common/game_folder.h"
#include "common/number_scanner.h"
#include "common/text.h"
#include "report/report.h"
#include "stocks/stock_file_list.h"

namespace venuecheck {
namespace {

// A base name longer than this may not show in the game, whatever the
// message says about 10 characters: "abcdefghij.bmp" still passes.
constexpr size_t kLongestGraphicName = 14;

// The game holds a field as a C string: it ends at its first NUL byte.
void CutAtNul(std::string& field) {
    const size_t nul = field.find('\0');
    if (nul != std::string::npos) field.resize(nul);
}

}  // namespace

void WriteStockingHeading(ReportPane& pane, int findings, std::string_view path) {
    if (findings != 0) return;
    pane.PaneSetColour(style::kBlack);
    pane.PaneSetBold(1);
    pane.PaneAppend("\n\n\tStocking - ");
    pane.PaneAppend(path);
    pane.PaneAppend("\n");
    pane.PaneSetBold(0);
}

int CheckPegStocking(const GameFolder& folder, Report& report, std::string_view path,
                     std::string_view bytes, StockFileList& stockFiles) {
    int findings = 0;
    int recordLine = 0;
    // The heading comes before the first finding that is shown.
    auto finding = [&](RuleId rule, std::string message, std::string_view names,
                       std::string_view stock = {}) {
        if (!stock.empty()) report.BeginStock(stock);
        const auto shown =
            report.Make(rule, Place{path, recordLine, {}, names}, std::move(message));
        if (!stock.empty()) report.EndStock();
        if (!shown) return;
        WriteStockingHeading(report.Pane(), findings, path);
        ++findings;
        report.Emit(*shown);
    };

    TextScanner scanner(bytes);
    LineCounter lines(bytes);
    // The fields keep their values from one record to the next: a record
    // that cannot be read is named by the stock file read before it.
    std::string stockFile;
    std::string third;
    std::string graphic;
    for (;;) {
        int32_t number = 0;
        int fields = 0;
        // The record's line is where its first field starts.
        scanner.SkipWhiteSpace();
        recordLine = lines.LineAt(scanner.Position());
        if (scanner.ReadInt(number)) {
            ++fields;
            if (scanner.ReadWord(stockFile)) {
                ++fields;
                if (scanner.ReadWord(third)) {
                    ++fields;
                    if (scanner.ReadWord(graphic)) ++fields;
                }
            }
        }
        CutAtNul(stockFile);
        CutAtNul(graphic);
        // A record is only acted on when something follows it: one that runs
        // up to the end of the file is dropped, complete or not.
        if (scanner.EndMet()) break;

        if (fields < 4) {
            // Only a first field that is not a whole number stops a record
            // before the end; the rest of its line goes with it.
            finding(RuleId::kStockingRecordUnreadable, "on line " + stockFile, {});
            scanner.SkipLine();
            continue;
        }

        if (!FileExists(folder, stockFile)) {
            finding(RuleId::kStockingStockNotFound, "can't find stock file " + stockFile, stockFile,
                    stockFile);
        } else {
            stockFiles.AddStockFile(stockFile);
        }
        if (EqualNoCase(graphic, kNone)) continue;
        if (!FileExists(folder, graphic)) {
            finding(RuleId::kStockingGraphicNotFound, "can't find graphic file " + graphic,
                    graphic);
        }
        if (BaseName(graphic).size() > kLongestGraphicName) {
            finding(RuleId::kStockingGraphicNameTooLong,
                    "graphic " + graphic + " is greater than 10 chars and may not display correct",
                    graphic);
        }
    }
    return findings;
}

bool CheckPegStocking(const GameFolder& folder, Report& report, std::string_view path,
                      StockFileList& stockFiles) {
    if (IsArchivePath(path)) return false;
    std::optional<std::string> bytes;
    try {
        bytes = folder.ReadFile(path);
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    if (!bytes) return false;
    CheckPegStocking(folder, report, path, *bytes, stockFiles);
    return true;
}

}  // namespace venuecheck
