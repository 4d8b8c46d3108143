#include "stocks/stock_summary.h"

#include <new>

#include "common/formatting.h"
#include "report/report.h"
#include "species/max_size_table.h"
#include "species/species_catalogue.h"
#include "stocks/stock_file_list.h"

namespace venuecheck {
namespace {

// The sum is held in single precision and rounded after every term, as the
// game adds them up; the scores near the 350 and 450 bounds depend on it.
class EaseSum {
public:
    void Add(double term) { sum_ = static_cast<float>(static_cast<double>(sum_) + term); }
    float Value() const { return sum_; }

private:
    float sum_ = 0.0f;
};

int32_t Divisor(int16_t importance) {
    return 2 * int32_t{importance} + 1;
}

double RealTerm(const RealRange& range, double factor, double wideOpen) {
    if (range.importance == 0) return wideOpen;
    const float spread = range.max - range.min;
    return static_cast<double>(spread) / Divisor(range.importance) * factor;
}

double IntTerm(const IntRange& range, double factor, double wideOpen) {
    if (range.importance == 0) return wideOpen;
    const int32_t spread = int32_t{range.max} - int32_t{range.min};
    return static_cast<double>(spread) / Divisor(range.importance) * factor;
}

}  // namespace

float ComputeEaseScore(StockRecord& stock) {
    EaseSum sum;
    sum.Add(RealTerm(stock.temp, 10.0, 500.0));
    sum.Add(RealTerm(stock.o2, 11.0, 400.0));
    sum.Add(IntTerm(stock.light, 1.0, 200.0));
    sum.Add(IntTerm(stock.fdepth, 1.0, 300.0));
    sum.Add(IntTerm(stock.cover, 1.0, 300.0));
    sum.Add(IntTerm(stock.wdepth, static_cast<double>(0.33333334f), 50.0));
    sum.Add(RealTerm(stock.ph, 10.0, 50.0));
    stock.easeScore = sum.Value();
    return stock.easeScore;
}

std::optional<StockRecord> LoadStock(const GameFolder& folder, std::string_view name,
                                     const SpeciesCatalogue& species, Report& report) {
    std::optional<StockRecord> stock;
    try {
        stock = NewStock(species);
        stock->qty = 1;
        stock->fileName = std::string(name);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    ReadStockFile(folder, name, *stock, species, report);
    return stock;
}

void JudgeStock(Report& report, std::string_view name, std::optional<StockRecord>& stock,
                const MaxSizeTable& maxSizes) {
    ReportPane& pane = report.Pane();
    pane.PaneSetColour(style::kBlack);
    if (!stock) {
        report.Add(RuleId::kStockNotLoaded, Place{name, 0, {}, {}});
        return;
    }
    // What makes a stock easy or hard to catch comes from the species that
    // its REF statement names, unless the stock file changes it.
    const Place atRef{name, stock->refLine, stock->refLine != 0 ? "REF" : "", {}};
    if (stock->species == nullptr) {
        report.Add(RuleId::kStockSpeciesMaximumUnknown, atRef);
        return;
    }
    const SpeciesRecord& species = *stock->species;

    pane.PaneAppend("\n\t : Species = \t");
    if (species.name) pane.PaneAppend(*species.name);
    const float average = static_cast<float>(stock->minSize + stock->maxSize) * 0.5f;
    pane.PaneAppend("\n\t : Avsize = \t");
    pane.PaneAppend(FormatWeight(average));
    pane.PaneAppend("\n\t : Biggest = \t");
    pane.PaneAppend(FormatWeight(static_cast<float>(stock->maxSize)));

    const int32_t allowed = maxSizes.FindMaxSize(species.name);
    if (allowed == 0) {
        // The species' line is missing from the table.
        report.Add(RuleId::kStockSpeciesMaximumUnknown,
                   Place{name, stock->refLine, stock->refLine != 0 ? "REF" : "", "maxsize.txt"});
        return;
    }

    const double quotient = static_cast<double>(stock->maxSize) / allowed;
    const float sizeRatio = quotient > 1.0 ? 1.0f : static_cast<float>(quotient);
    const float score = ComputeEaseScore(*stock);
    // The allowance falls from 360 for tiny fish to 40 for fish at the
    // species' maximum.
    if (static_cast<double>(score) - ((320.0 - 320.0 * sizeRatio) + 30.0) > 10.0) {
        report.Add(RuleId::kStockEasyForSize, atRef);
    }
    if (score >= 350.0f && score <= 450.0f) {
        report.Add(RuleId::kStockShoalMayBeEasy, atRef);
    } else if (score > 450.0f) {
        report.Add(RuleId::kStockShoalTooEasy, atRef);
    }
    // Compared as unsigned numbers: a negative maximum in "maxsize.txt" lets
    // every size pass.
    if (static_cast<uint32_t>(stock->maxSize) > static_cast<uint32_t>(allowed)) {
        report.Add(RuleId::kStockSizeAboveMaximum,
                   Place{name, stock->maxSizeLine, stock->maxSizeLine != 0 ? "MAXSIZE" : "", {}},
                   "Size ( " + FormatInt(stock->maxSize) +
                       " ) is bigger than max size allowed of " + FormatInt(allowed) + " drams.");
    }
}

void WriteStockSummary(const GameFolder& folder, Report& report, const StockFileList& stockFiles,
                       const SpeciesCatalogue& species, const MaxSizeTable& maxSizes) {
    ReportPane& pane = report.Pane();
    WriteSectionHeading(pane, "\n\nStock file summary");
    if (stockFiles.Empty()) {
        pane.PaneAppend("\nNo stocks loaded");
        return;
    }
    for (const std::string& name : stockFiles.NewestFirst()) {
        pane.PaneSetColour(style::kBlack);
        pane.PaneSetBold(1);
        pane.PaneAppend("\n\n\t" + name);
        pane.PaneSetBold(0);
        report.BeginStock(name);
        std::optional<StockRecord> stock = LoadStock(folder, name, species, report);
        JudgeStock(report, name, stock, maxSizes);
        report.EndStock();
    }
}

}  // namespace venuecheck
