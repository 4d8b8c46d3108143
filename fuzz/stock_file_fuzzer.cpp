// The stock file reader, with a small species catalogue (ROACH and PERCH):
// the bytes as the plain content of a stock file.

#include <string>

#include "fuzz_support.h"
#include "report/recording_pane.h"
#include "report/report.h"
#include "species/species_catalogue.h"
#include "species/species_keywords.h"
#include "stocks/stock_parser.h"

using namespace venuecheck;

namespace {

const SpeciesCatalogue& Species() {
    static const SpeciesCatalogue catalogue = [] {
        SpeciesCatalogue species;
        ReadSpeciesText(
            "REF ROACH\r\nNAME Roach\r\nGRAPHIC gfx\\roach.bmp\r\nTEMP 14.0 6.0 22.0 3\r\n"
            "O2 7 5 10 2\r\nPH 7 6.5 8 2\r\nFDEPTH 30 10 80 3\r\nWDEPTH 48 24 120 2\r\nLIGHT 40 10 "
            "70 3\r\n"
            "COVER 50 20 80 3\r\nMAXSIZE 640\r\nMONTH 3 80\r\nDIST 1 2.5\r\nBEACH 5\r\nEND\r\n",
            species.NewSpecies());
        ReadSpeciesText("REF PERCH\r\nNAME Perch\r\nMAXSIZE 800\r\nEND\r\n", species.NewSpecies());
        return species;
    }();
    return catalogue;
}

bool InCatalogue(const SpeciesRecord* species) {
    if (species == nullptr) return true;
    for (const SpeciesRecord& record : Species().Records()) {
        if (&record == species) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RecordingPane pane;
    Report report(pane);
    StockRecord stock = NewStock(Species());
    ReadStockContent(fuzz::AsText(data, size), stock, StockContext{Species(), report, nullptr});

    if (!InCatalogue(stock.species)) fuzz::Fail("the stock's species is not in the catalogue");
    if (stock.minSize != 0 && (stock.minSize < 1 || stock.minSize > 32000))
        fuzz::Fail("MINSIZE out of range");
    if (stock.maxSize < 1 || stock.maxSize > 32000) fuzz::Fail("MAXSIZE out of range");
    if (stock.bSmallFact > 5.0f) fuzz::Fail("BSMALLFACT above 5");

    // Every line the reader writes is one of its own messages.
    const std::string text = pane.PlainText();
    for (size_t at = 0; at < text.size();) {
        if (text.compare(at, 5, "\n\t : ") != 0)
            fuzz::Fail("a report line not of the stock reader", text.substr(at, 80));
        const size_t next = text.find("\n\t : ", at + 1);
        at = next == std::string::npos ? text.size() : next;
    }
    return 0;
}
